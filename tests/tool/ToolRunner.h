// Runs the spellcheck program as a child process with a given input and
// environment, and collects what it writes and its exit status.
#ifndef SPELLCHECK_TESTS_TOOL_TOOLRUNNER_H
#define SPELLCHECK_TESTS_TOOL_TOOLRUNNER_H

#include <map>
#include <string>
#include <vector>

namespace spellcheck::testing {

struct ToolResult {
  int status = -1;  // exit status, or -1 when the program did not exit normally
  std::string out;
  std::string err;
};

struct ToolRun {
  std::vector<std::string> arguments;
  std::string input;
  // Variables of the child's environment besides PATH; nothing else is inherited,
  // so that the user's own dictionaries never play a part.
  std::map<std::string, std::string> environment;
  std::string workingFolder;
};

ToolResult RunTool(const ToolRun& run);

// A running program spoken to line by line, as an editor speaks to its
// spelling program. The input is closed and the program waited for when the
// object goes.
class ToolProcess {
 public:
  explicit ToolProcess(const ToolRun& run);
  ~ToolProcess();
  ToolProcess(const ToolProcess&) = delete;
  ToolProcess& operator=(const ToolProcess&) = delete;

  void Send(const std::string& text);
  // Reads until the output ends with `end` (or the program ends or five
  // seconds pass without output) and returns what came.
  std::string ReadUntil(const std::string& end);

 private:
  int pid_ = -1;
  int input_ = -1;
  int output_ = -1;
  std::string pending_;
};

// The program under test.
std::string ToolPath();

}  // namespace spellcheck::testing

#endif
