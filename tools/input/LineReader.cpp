#include "input/LineReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "commands/ToolError.h"

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

LineReader::LineReader(int fd, std::string name) : fd_(fd), name_(std::move(name)) {
  buffer_.resize(ChunkSize);
}

bool LineReader::Fill() {
  if (eof_) return false;
  if (begin_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  if (buffer_.size() - end_ < ChunkSize / 2) buffer_.resize(buffer_.size() * 2);
  if (onWait_) onWait_();
  for (;;) {
    const ssize_t got = ::read(fd_, buffer_.data() + end_, buffer_.size() - end_);
    if (got > 0) {
      end_ += static_cast<std::size_t>(got);
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
  while (end_ - begin_ < count && Fill()) {
  }
  return {buffer_.data() + begin_, std::min(count, end_ - begin_)};
}

bool LineReader::Next(std::string& line) {
  std::size_t searched = begin_;
  for (;;) {
    const void* found = std::memchr(buffer_.data() + searched, '\n', end_ - searched);
    if (found) {
      const auto newline =
          static_cast<std::size_t>(static_cast<const char*>(found) - buffer_.data());
      std::size_t lineEnd = newline;
      if (lineEnd > begin_ && buffer_[lineEnd - 1] == '\r') --lineEnd;
      line.assign(buffer_.data() + begin_, lineEnd - begin_);
      begin_ = newline + 1;
      return true;
    }
    const std::size_t scanned = end_ - begin_;
    if (!Fill()) {
      if (begin_ == end_) return false;
      std::size_t lineEnd = end_;
      if (buffer_[lineEnd - 1] == '\r') --lineEnd;
      line.assign(buffer_.data() + begin_, lineEnd - begin_);
      begin_ = end_;
      return true;
    }
    searched = begin_ + scanned;
  }
}

}  // namespace spellcheck::tool
