#pragma once

#include <string>

namespace slidemill {

// The office writes a PowerPoint show (.ppsx) with the content type of a plain presentation,
// and PowerPoint refuses such a file as damaged. This gives the package's main part the show's
// content type, in place. False, with why, when the file is not such a package or cannot be
// rewritten; the file is then as it was.
bool MarkPackageAsShow(const std::string& path, std::string& error);

} // namespace slidemill
