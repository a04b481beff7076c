#include "lsp/Transport.h"

#include <fcntl.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <vector>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace spellcheck::tool::lsp {
namespace {

// Header lines longer than this are cut: no real header is near it.
constexpr std::size_t MaxHeaderLine = 8192;
constexpr std::string_view LengthField = "content-length:";

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

// Where "Content-Length:" starts in a line, in any case; npos if nowhere. A
// line that carries the rest of a body framed wrongly before it still counts,
// so that the stream finds its way back to the next message.
std::size_t FindLengthField(std::string_view line) {
  for (std::size_t at = 0; at + LengthField.size() <= line.size(); ++at) {
    std::size_t i = 0;
    while (i < LengthField.size() && Lower(line[at + i]) == LengthField[i]) ++i;
    if (i == LengthField.size()) return at;
  }
  return std::string_view::npos;
}

// The length after the field name: digits between blanks, else false.
bool ParseLength(std::string_view value, std::uint64_t& length) {
  while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
  while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
  if (value.empty() || value.size() > 15) return false;
  length = 0;
  for (const char c : value) {
    if (c < '0' || c > '9') return false;
    length = length * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return true;
}

}  // namespace

Transport Transport::Standard() {
#if defined(_WIN32)
  _setmode(_fileno(stdin), _O_BINARY);
  const int copy = _dup(_fileno(stdout));
  _dup2(_fileno(stderr), _fileno(stdout));
  std::FILE* out = copy >= 0 ? _fdopen(copy, "wb") : nullptr;
  if (out) _setmode(copy, _O_BINARY);
#else
  // A client that goes away makes writes fail, not the process die.
  std::signal(SIGPIPE, SIG_IGN);
  std::fflush(stdout);
  const int copy = ::dup(STDOUT_FILENO);
  ::dup2(STDERR_FILENO, STDOUT_FILENO);
  std::FILE* out = copy >= 0 ? ::fdopen(copy, "wb") : nullptr;
#endif
  return Transport(stdin, out ? out : stdout);
}

bool Transport::ReadLine(std::string& line) {
  line.clear();
  int c;
  while ((c = std::getc(in_)) != EOF) {
    if (c == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return true;
    }
    if (line.size() < MaxHeaderLine) line.push_back(static_cast<char>(c));
  }
  return false;
}

ReadResult Transport::Read(std::string& body, std::string& problem) {
  std::string line;
  bool sawLength = false;
  bool badLength = false;
  std::uint64_t length = 0;
  bool any = false;  // a header line was read
  while (true) {
    if (!ReadLine(line)) return ReadResult::End;
    if (line.empty()) {
      if (!any) continue;  // blank lines between messages
      break;
    }
    any = true;
    const std::size_t at = FindLengthField(line);
    if (at == std::string_view::npos) continue;  // Content-Type and the like
    std::uint64_t value = 0;
    if (ParseLength(std::string_view(line).substr(at + LengthField.size()), value)) {
      sawLength = true;
      badLength = false;
      length = value;
    } else {
      badLength = true;
    }
  }
  if (!sawLength || badLength) {
    problem =
        badLength ? "the Content-Length header is not a number" : "a header without Content-Length";
    return ReadResult::BadHeader;
  }
  if (length > MaxMessageSize) {
    // Read and dropped in pieces, so that the next message is found.
    std::vector<char> chunk(1 << 16);
    for (std::uint64_t left = length; left > 0;) {
      const std::size_t want =
          static_cast<std::size_t>(std::min<std::uint64_t>(left, chunk.size()));
      const std::size_t got = std::fread(chunk.data(), 1, want, in_);
      if (got == 0) return ReadResult::End;
      left -= got;
    }
    problem = "a message of " + std::to_string(length) + " bytes, more than the limit of " +
              std::to_string(MaxMessageSize);
    return ReadResult::TooLarge;
  }
  body.resize(static_cast<std::size_t>(length));
  const std::size_t got = length > 0 ? std::fread(body.data(), 1, body.size(), in_) : 0;
  if (got != body.size()) return ReadResult::End;
  return ReadResult::Message;
}

bool Transport::Write(std::string_view body) {
  const std::string header = "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
  if (std::fwrite(header.data(), 1, header.size(), out_) != header.size()) return false;
  if (std::fwrite(body.data(), 1, body.size(), out_) != body.size()) return false;
  return std::fflush(out_) == 0;
}

}  // namespace spellcheck::tool::lsp
