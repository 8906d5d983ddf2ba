#pragma once

namespace slidemill {

// Whether the application's font resolves to an installed family: without one every character
// is drawn as an empty box, and Qt says nothing. Needs the application object.
bool ApplicationFontResolves();

} // namespace slidemill
