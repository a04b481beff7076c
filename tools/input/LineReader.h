// Reads a file or standard input line by line through one buffer, decoding
// it to UTF-8 first, and knows when the next line would have to wait for more
// input (so that a pipe's answers can be flushed exactly then and not after
// every line). A line longer than the buffer's bound comes in pieces, so that
// memory stays bounded whatever the input.
#ifndef SPELLCHECK_TOOL_LINEREADER_H
#define SPELLCHECK_TOOL_LINEREADER_H

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "input/InputDecoder.h"

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

// One line of the text, or a piece of a long one.
struct TextPiece {
  std::string_view text;   // UTF-8 (as decoded), without the line's end
  bool continues = false;  // more of the same line follows in the next piece
};

class LineReader {
 public:
  // The longest piece handed out: a longer line is cut after a blank (or,
  // with none, between two characters).
  static constexpr std::size_t MaxPiece = 1 << 18;

  // `name` is used in error messages. The descriptor stays the caller's.
  LineReader(int fd, std::string name, const std::string& encoding = "UTF-8");

  // Called before a read that may block (the buffer holds no whole line).
  void OnWait(std::function<void()> hook) { onWait_ = std::move(hook); }
  // Called when such a read has brought new input, before it is handed out.
  void OnInput(std::function<void()> hook) { onInput_ = std::move(hook); }

  // The next line ("\n" or "\r\n" taken off), or piece of one; false at the
  // end of the input. A last line without an end still counts. The text
  // stays valid until the next call. Throws ToolError on a read failure.
  bool Next(TextPiece& piece);

  // Up to `count` of the first decoded bytes of the input, as far as the
  // first read brings them, for a look before reading lines.
  std::string_view Peek(std::size_t count);

 private:
  bool Fill();
  std::size_t CutPoint() const;

  int fd_;
  std::string name_;
  InputDecoder decoder_;
  std::string buffer_;  // decoded text; [begin_, buffer_.size()) not handed out yet
  std::size_t begin_ = 0;
  std::size_t searched_ = 0;  // bytes after begin_ known to hold no line end
  std::vector<char> raw_;
  bool eof_ = false;
  std::function<void()> onWait_;
  std::function<void()> onInput_;
};

}  // namespace spellcheck::tool

#endif
