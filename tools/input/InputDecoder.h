// Turns a text's bytes into UTF-8 as they arrive, before the text is split
// into lines (so that UTF-16, whose line ends are two bytes, splits right). A
// byte-order mark at the start picks UTF-8 or UTF-16 by itself; otherwise the
// text is in the encoding named (UTF-8 passes through untouched).
#ifndef SPELLCHECK_TOOL_INPUTDECODER_H
#define SPELLCHECK_TOOL_INPUTDECODER_H

#include <memory>
#include <string>
#include <string_view>

#include "input/TextCodec.h"

namespace spellcheck::tool {

class InputDecoder {
 public:
  // Throws ToolError for an encoding the system does not know.
  explicit InputDecoder(const std::string& encoding);

  // True while bytes pass through unchanged (UTF-8 without a byte-order
  // mark, so far): the caller may then read straight into its buffer.
  bool PassesThrough() const { return mode_ == Mode::Utf8 && !atStart_; }

  // Appends the UTF-8 form of `bytes` to `out`. A character cut short at
  // the end is kept for the next call, or, with `last`, becomes U+FFFD.
  // Bytes that do not belong to the encoding become U+FFFD.
  void Decode(std::string_view bytes, bool last, std::string& out);

 private:
  enum class Mode { Utf8, Utf16Le, Utf16Be, Other };
  void DecodeUtf16(std::string_view bytes, bool last, std::string& out);

  Mode mode_ = Mode::Utf8;
  bool atStart_ = true;  // a byte-order mark may still come
  std::string encoding_;
  std::unique_ptr<Iconv> iconv_;
  std::string pending_;  // bytes of a character not yet complete
};

}  // namespace spellcheck::tool

#endif
