// The character set a dictionary names with SET: its bytes are decoded to
// Unicode at load, and words to check are measured and vetted against it.
#ifndef SPELLCHECK_HUNSPELL_CHARSET_H
#define SPELLCHECK_HUNSPELL_CHARSET_H

#include <array>
#include <string>
#include <string_view>
#include <unordered_map>

namespace spellcheck::hunspell {

class Charset {
 public:
  // False when the name is not a character set this build can decode.
  bool Select(std::string_view name);
  bool IsUtf8() const { return utf8_; }
  // Decodes bytes of the set into code points; false on bytes that are not
  // characters of the set (invalid UTF-8, unassigned byte).
  bool Decode(std::string_view bytes, std::u32string& out) const;
  // How many bytes the word takes in the set; SIZE_MAX when a character has
  // no place in it.
  std::size_t EncodedLength(std::u32string_view word) const;

 private:
  bool utf8_ = false;
  std::array<char32_t, 256> table_{};  // 0 marks an unassigned byte (except 0 itself)
  std::unordered_map<char32_t, unsigned char> reverse_;
};

// UTF-8 of a code point string, fast for the alphabets of most dictionaries
// (the way back is text::Utf8ToUtf32).
std::string ToUtf8(std::u32string_view text);
void ToUtf8(std::u32string_view text, std::string& out);  // into `out`, replacing it

}  // namespace spellcheck::hunspell

#endif
