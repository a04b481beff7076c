// The tool's own failure: a message for the user and the exit status.
#ifndef SPELLCHECK_TOOL_TOOLERROR_H
#define SPELLCHECK_TOOL_TOOLERROR_H

#include <stdexcept>
#include <string>

namespace spellcheck::tool {

// Exit statuses: 0 all well, 1 something was found (misspelled words, a
// damaged dictionary, a word not added), 2 usage or input/output errors.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFound = 1;
inline constexpr int ExitError = 2;

class ToolError : public std::runtime_error {
 public:
  explicit ToolError(const std::string& message) : std::runtime_error(message) {}
};

// The output cannot be written (a full disk, a reader that went away): the
// run ends at once, whatever input is left.
class OutputError : public ToolError {
 public:
  explicit OutputError(const std::string& message) : ToolError(message) {}
};

}  // namespace spellcheck::tool

#endif
