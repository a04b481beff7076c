#include "hunspell/Casing.h"

#include "text/Unicode.h"

namespace spellcheck::hunspell {

char32_t ToLower(char32_t c, bool turkish) {
  if (turkish) {
    if (c == U'I') return 0x131;
    if (c == 0x130) return U'i';
  }
  return text::UnicodeLower(c);
}

char32_t ToUpper(char32_t c, bool turkish) {
  if (turkish) {
    if (c == U'i') return 0x130;
    if (c == 0x131) return U'I';
  }
  return text::UnicodeUpper(c);
}

bool IsUpper(char32_t c) {
  return text::IsUnicodeUpper(c);
}
bool IsLower(char32_t c) {
  return text::IsUnicodeLower(c);
}

CapType ClassifyCase(std::u32string_view word) {
  std::size_t upper = 0, lower = 0;
  for (char32_t c : word) {
    if (c < 0x80) {  // most letters of most texts
      upper += c >= U'A' && c <= U'Z';
      lower += c >= U'a' && c <= U'z';
      continue;
    }
    // A small letter without a capital of its own (the sharp s) stays in
    // words written in capitals: it counts as neither.
    if (IsUpper(c))
      ++upper;
    else if (IsLower(c) && text::UnicodeUpper(c) != c)
      ++lower;
  }
  if (upper == 0) return CapType::Lower;
  const bool firstUpper = !word.empty() && IsUpper(word[0]);
  if (lower == 0) return CapType::All;
  if (firstUpper && upper == 1) return CapType::Initial;
  return firstUpper ? CapType::MixedInit : CapType::Mixed;
}

std::u32string Lowered(std::u32string_view word, bool turkish) {
  std::u32string out(word);
  // Outside Turkish a leading dotted capital I has no small form of its own
  // (it would be i with a combining dot): "İmply" is not "imply".
  for (std::size_t i = 0; i < out.size(); ++i)
    if (i > 0 || out[i] != 0x130 || turkish) out[i] = ToLower(out[i], turkish);
  return out;
}

std::u32string Uppered(std::u32string_view word, bool turkish) {
  std::u32string out(word);
  for (char32_t& c : out) c = ToUpper(c, turkish);
  return out;
}

std::u32string Capitalised(std::u32string_view word, bool turkish) {
  std::u32string out = Lowered(word, turkish);
  if (!out.empty())
    out[0] = ToUpper(word[0], turkish) == word[0] ? word[0] : ToUpper(out[0], turkish);
  return out;
}

std::u32string InitialUpper(std::u32string_view word, bool turkish) {
  std::u32string out(word);
  if (!out.empty()) out[0] = ToUpper(out[0], turkish);
  return out;
}

}  // namespace spellcheck::hunspell
