// The language server's byte stream: messages framed by a Content-Length
// header, read from standard input and written to standard output. Standard
// output is taken over at the start, and anything else the process prints
// there goes to standard error, so that nothing but messages reaches the client.
#ifndef SPELLCHECK_TOOL_LSP_TRANSPORT_H
#define SPELLCHECK_TOOL_LSP_TRANSPORT_H

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace spellcheck::tool::lsp {

// Larger messages are read and dropped: a 10 MB document, escaped, fits well.
inline constexpr std::size_t MaxMessageSize = 256u << 20;

enum class ReadResult {
  Message,    // `body` holds a message
  End,        // no more input (a message cut short counts as none)
  BadHeader,  // a header without a usable Content-Length; `problem` says why
  TooLarge,   // the message was skipped; `problem` says how large it was
};

class Transport {
 public:
  Transport(std::FILE* in, std::FILE* out) : in_(in), out_(out) {}
  // The process's standard input and a private copy of standard output.
  static Transport Standard();

  ReadResult Read(std::string& body, std::string& problem);
  // False when the client can no longer be written to.
  bool Write(std::string_view body);

 private:
  // One header line without its line end; false at the end of input.
  bool ReadLine(std::string& line);

  std::FILE* in_;
  std::FILE* out_;
};

}  // namespace spellcheck::tool::lsp

#endif
