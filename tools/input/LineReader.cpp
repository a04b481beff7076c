#include "input/LineReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "errors/ToolError.h"

namespace spellcheck::tool {

namespace {
constexpr std::size_t ChunkSize = 1 << 16;
}

FileDescriptor::~FileDescriptor() {
  if (fd_ >= 0) ::close(fd_);
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

FileDescriptor OpenForReading(const std::string& path) {
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
  if (fd.Get() < 0) throw ToolError(path + ": " + std::strerror(errno));
  struct stat st {};
  if (::fstat(fd.Get(), &st) == 0 && S_ISDIR(st.st_mode)) {
    throw ToolError(path + ": " + std::strerror(EISDIR));
  }
  return fd;
}

LineReader::LineReader(int fd, std::string name, const std::string& encoding)
    : fd_(fd), name_(std::move(name)), decoder_(encoding) {
  raw_.resize(ChunkSize);
}

bool LineReader::Fill() {
  if (eof_) return false;
  if (begin_ > 0) {
    buffer_.erase(0, begin_);
    begin_ = 0;
  }
  if (onWait_) onWait_();
  for (;;) {
    ssize_t got;
    if (decoder_.PassesThrough()) {
      // Straight into the buffer, as nothing changes on the way. (The
      // string's room grows once; only what is read is appended.)
      got = ::read(fd_, raw_.data(), raw_.size());
      if (got > 0) buffer_.append(raw_.data(), static_cast<std::size_t>(got));
    } else {
      got = ::read(fd_, raw_.data(), raw_.size());
      if (got >= 0) {
        decoder_.Decode(std::string_view(raw_.data(), static_cast<std::size_t>(got)), got == 0,
                        buffer_);
      }
    }
    if (got > 0) {
      if (onInput_) onInput_();
      return true;
    }
    if (got == 0) {
      eof_ = true;
      return false;
    }
    if (errno != EINTR) throw ToolError(name_ + ": " + std::strerror(errno));
  }
}

std::string_view LineReader::Peek(std::size_t count) {
  // What one read brings, so that a look never waits for input that a
  // writer at the other end of a pipe has not sent yet.
  if (begin_ == buffer_.size()) Fill();
  return std::string_view(buffer_).substr(begin_, count);
}

std::size_t LineReader::CutPoint() const {
  // After the last blank of the piece, so that no word is cut in two.
  const std::string_view window = std::string_view(buffer_).substr(begin_, MaxPiece);
  const std::size_t blank = window.find_last_of(" \t");
  if (blank != std::string_view::npos) return blank + 1;
  // No blank at all: between two characters (the buffer holds more than the
  // window, so the byte after it is there to look at).
  std::size_t cut = window.size();
  while (cut > 1 && (static_cast<unsigned char>(buffer_[begin_ + cut]) & 0xC0) == 0x80) --cut;
  return cut;
}

bool LineReader::Next(TextPiece& piece) {
  for (;;) {
    const std::size_t from = begin_ + searched_;
    const std::size_t newline = buffer_.find('\n', from);
    if (newline != std::string::npos) {
      std::size_t lineEnd = newline;
      if (lineEnd > begin_ && buffer_[lineEnd - 1] == '\r') --lineEnd;
      piece = {std::string_view(buffer_).substr(begin_, lineEnd - begin_), false};
      begin_ = newline + 1;
      searched_ = 0;
      return true;
    }
    searched_ = buffer_.size() - begin_;
    if (searched_ > MaxPiece) {
      const std::size_t cut = CutPoint();
      piece = {std::string_view(buffer_).substr(begin_, cut), true};
      begin_ += cut;
      searched_ -= cut;
      return true;
    }
    if (!Fill()) {
      if (begin_ == buffer_.size()) return false;
      std::size_t lineEnd = buffer_.size();
      if (buffer_[lineEnd - 1] == '\r') --lineEnd;
      piece = {std::string_view(buffer_).substr(begin_, lineEnd - begin_), false};
      begin_ = buffer_.size();
      searched_ = 0;
      return true;
    }
  }
}

}  // namespace spellcheck::tool
