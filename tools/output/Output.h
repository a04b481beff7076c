// Buffered standard output in the text's encoding. A failed write (a full
// disk, a closed pipe) is an error of the run, never lost.
#ifndef SPELLCHECK_TOOL_OUTPUT_H
#define SPELLCHECK_TOOL_OUTPUT_H

#include <string>
#include <string_view>

#include "input/TextCodec.h"

namespace spellcheck::tool {

class Output {
 public:
  Output(int fd, TextCodec& codec) : fd_(fd), codec_(codec) {}
  ~Output();
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  // Appends UTF-8 text, converted to the text's encoding.
  Output& operator<<(std::string_view utf8);
  Output& operator<<(std::size_t number);
  // Writes what is buffered; throws ToolError when the write fails.
  void Flush();

 private:
  int fd_;
  TextCodec& codec_;
  std::string buffer_;
  std::string pending_;  // UTF-8 text not yet converted
};

}  // namespace spellcheck::tool

#endif
