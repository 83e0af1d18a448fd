#pragma once
// The log dialog: a list of text lines (the errors of a run) in a read-only text area that the
// user can read, copy and save to a file (UTF-8, CR LF). Modal, owned like the message dialog.
#include <string>
#include <vector>

namespace vek {

// Shows aLog under aCaption (language text 229 when empty) until the user closes it.
void ShowLogDialog(const std::vector<std::string>& aLog, const std::string& aCaption);

}  // namespace vek
