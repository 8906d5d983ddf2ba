#pragma once

namespace slidemill {

// Whether standard error is a terminal a person watches (not a file, pipe or log collector).
bool StandardErrorIsTerminal();

} // namespace slidemill
