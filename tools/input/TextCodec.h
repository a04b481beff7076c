// The text's own encoding (--encoding) on the way in and out. UTF-8 passes
// through untouched; any other name goes through the system's iconv.
#ifndef SPELLCHECK_TOOL_TEXTCODEC_H
#define SPELLCHECK_TOOL_TEXTCODEC_H

#include <iconv.h>

#include <memory>
#include <string>
#include <string_view>

namespace spellcheck::tool {

// One iconv conversion, closed when the object goes.
class Iconv {
 public:
  // Throws ToolError when the system knows no such conversion.
  Iconv(const std::string& to, const std::string& from);
  ~Iconv();
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  // Converts `in` into `out` (replaced). A sequence that cannot be converted
  // is replaced by `replacement` and conversion goes on after `skip(in, pos)`
  // bytes, so that no input is ever lost silently or mangled into letters.
  void Convert(std::string_view in, std::string& out, std::string_view replacement,
               std::size_t (*skip)(std::string_view, std::size_t));

  // The same for a text that may end inside a character: converts up to it
  // (all of it when `last`) and answers how many bytes of `in` were used.
  std::size_t ConvertPrefix(std::string_view in, std::string& out, std::string_view replacement,
                            std::size_t (*skip)(std::string_view, std::size_t), bool last);

 private:
  iconv_t cd_;
};

// UTF-16, which the tool reads and writes itself (on every platform).
enum class Utf16 { None, Little, Big };
// The byte order an encoding name gives ("UTF-16" without a mark: little).
Utf16 Utf16Of(std::string_view encoding);

class TextCodec {
 public:
  // `encoding` is an iconv name; "UTF-8" in any spelling means no conversion.
  explicit TextCodec(const std::string& encoding);
  TextCodec(const TextCodec&) = delete;
  TextCodec& operator=(const TextCodec&) = delete;

  bool IsUtf8() const { return decoder_ == nullptr && utf16_ == Utf16::None; }
  // Input in the text's encoding to UTF-8; bytes that do not belong to the
  // encoding become U+FFFD. For UTF-8 input the text is returned as is
  // (invalid bytes are dealt with by the reader of the text).
  std::string_view ToUtf8(std::string_view text);
  // UTF-8 to the text's encoding; a character that it cannot hold becomes '?'.
  std::string_view FromUtf8(std::string_view text);

 private:
  std::string encoding_;
  Utf16 utf16_ = Utf16::None;
  std::unique_ptr<Iconv> decoder_;
  std::unique_ptr<Iconv> encoder_;
  std::string decoded_;
  std::string encoded_;
};

bool IsUtf8Name(std::string_view encoding);

}  // namespace spellcheck::tool

#endif
