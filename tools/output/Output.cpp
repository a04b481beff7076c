#include "output/Output.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "errors/ToolError.h"

namespace spellcheck::tool {

namespace {
constexpr std::size_t FlushThreshold = 1 << 16;
}

Output::~Output() {
  try {
    Flush();
  } catch (const ToolError&) {
    // Reported by the explicit Flush of a run that ends normally.
  }
}

Output& Output::operator<<(std::string_view utf8) {
  if (codec_.IsUtf8()) {
    buffer_ += utf8;
  } else {
    pending_ += utf8;
    // Convert whole lines, so that no character is cut in two.
    if (!pending_.empty() && pending_.back() == '\n') {
      buffer_ += codec_.FromUtf8(pending_);
      pending_.clear();
    }
  }
  if (buffer_.size() >= FlushThreshold) Flush();
  return *this;
}

Output& Output::operator<<(std::size_t number) {
  return *this << std::string_view(std::to_string(number));
}

void Output::Flush() {
  if (!pending_.empty()) {
    buffer_ += codec_.FromUtf8(pending_);
    pending_.clear();
  }
  std::size_t done = 0;
  while (done < buffer_.size()) {
    const ssize_t put = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
    if (put < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      buffer_.clear();
      throw OutputError(std::string("cannot write the output: ") + std::strerror(error));
    }
    done += static_cast<std::size_t>(put);
  }
  buffer_.clear();
}

}  // namespace spellcheck::tool
