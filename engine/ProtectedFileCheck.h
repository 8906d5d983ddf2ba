#pragma once

#include <string>

namespace slidemill {

// Whether a file that failed to load is an encrypted Office file: an OLE2 compound file that
// holds an encrypted package (protected PPTX) or PowerPoint's encrypted-document markers
// (protected PPT). The office's PowerPoint 97 import refuses such files without asking for
// a password, so this is how the user learns why.
bool LooksPasswordProtected(const std::string& path);

} // namespace slidemill
