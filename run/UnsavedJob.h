#pragma once

#include <string>

namespace slidemill {

class JobDocument;

// When the program is ended from outside (a signal) nobody can be asked whether to save a
// changed job, and its own file must not be overwritten unasked. Writes the job's tasks to a
// new file in folder ("Unsaved Conversion Job.MJB", "... (2).MJB" ...; an existing file is
// never replaced) and returns its path; "" when the job has no unsaved changes or no file
// could be written. The job then counts as saved, so closing asks nothing.
std::string KeepUnsavedJob(JobDocument& document, const std::string& folder);

} // namespace slidemill
