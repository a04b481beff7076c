// Reads a file or standard input line by line through one buffer, and knows
// when the next line would have to wait for more input (so that a pipe's
// answers can be flushed exactly then and not after every line).
#ifndef SPELLCHECK_TOOL_LINEREADER_H
#define SPELLCHECK_TOOL_LINEREADER_H

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace spellcheck::tool {

// An open file descriptor, closed when the object goes.
class FileDescriptor {
 public:
  FileDescriptor() = default;
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor();
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  FileDescriptor& operator=(FileDescriptor&& other) noexcept;
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int Get() const { return fd_; }

 private:
  int fd_ = -1;
};

// Opens a file for reading; throws ToolError naming the file and the reason.
FileDescriptor OpenForReading(const std::string& path);

class LineReader {
 public:
  // `name` is used in error messages. The descriptor stays the caller's.
  LineReader(int fd, std::string name);

  // Called before a read that may block (the buffer holds no whole line).
  void OnWait(std::function<void()> hook) { onWait_ = std::move(hook); }
  // Called when such a read has brought new input, before it is handed out.
  void OnInput(std::function<void()> hook) { onInput_ = std::move(hook); }

  // The next line without its end ("\n", or "\r\n"); false at the end of the
  // input. A last line without an end still counts. Throws ToolError on a
  // read failure.
  bool Next(std::string& line);

  // The first bytes of the input, for a look before reading lines.
  std::string_view Peek(std::size_t count);

 private:
  bool Fill();

  int fd_;
  std::string name_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool eof_ = false;
  std::function<void()> onWait_;
  std::function<void()> onInput_;
};

}  // namespace spellcheck::tool

#endif
