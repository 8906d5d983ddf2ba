#pragma once

#include <string>
#include <vector>

namespace slidemill {

// A wildcard left unquoted reaches the program as the list of files the shell found: a
// value-taking switch followed by several existing paths. Answers what happened and how to
// quote the pattern, or "" when the arguments show no such list. The expanded list is never
// converted: it would be read as stray switches and fail in a way that hides the cause.
std::string ShellExpandedWildcardProblem(const std::vector<std::string>& arguments);

} // namespace slidemill
