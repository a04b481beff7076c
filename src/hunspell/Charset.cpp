#include "hunspell/Charset.h"

#include <cstdint>

#include "text/Charsets.h"
#include "text/Unicode.h"
#include "text/Utf8.h"

namespace spellcheck::hunspell {

namespace {
std::string Normalised(std::string_view name) {
  std::string out;
  for (char c : name) {
    if (c == '-' || c == '_') continue;
    out += static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  }
  return out;
}
}  // namespace

bool Charset::Select(std::string_view name) {
  reverse_.clear();
  const std::string n = Normalised(name);
  utf8_ = n == "UTF8";
  if (utf8_) return true;
  // Every set a dictionary names is one byte per character: its table is
  // built by decoding each byte once.
  for (int b = 0; b < 256; ++b) {
    const char byte = static_cast<char>(b);
    std::string utf8;
    table_[b] = 0;
    if (b < 128) {
      table_[b] = static_cast<char32_t>(b);
    } else if (text::DecodeCharset(name, std::string_view(&byte, 1), utf8)) {
      std::u32string cps;
      if (text::Utf8ToUtf32(utf8, cps) && cps.size() == 1) table_[b] = cps[0];
    } else if (!text::IsKnownCharset(name)) {
      return false;
    }
    if (b == 0 || table_[b] != 0) reverse_.emplace(table_[b], static_cast<unsigned char>(b));
  }
  return true;
}

bool Charset::Decode(std::string_view bytes, std::u32string& out) const {
  out.clear();
  if (utf8_) return text::Utf8ToUtf32(bytes, out);
  out.reserve(bytes.size());
  bool ok = true;
  for (unsigned char b : bytes) {
    const char32_t c = table_[b];
    if (c == 0 && b != 0) {
      ok = false;
      out += text::InvalidChar;
    } else {
      out += c;
    }
  }
  return ok;
}

std::size_t Charset::EncodedLength(std::u32string_view word) const {
  std::size_t n = 0;
  for (char32_t c : word) {
    if (utf8_) {
      n += c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
    } else {
      if (reverse_.find(c) == reverse_.end()) return SIZE_MAX;
      ++n;
    }
  }
  return n;
}

std::string ToUtf8(std::u32string_view text) {
  std::string out;
  ToUtf8(text, out);
  return out;
}

void ToUtf8(std::u32string_view text, std::string& out) {
  out.clear();
  out.reserve(text.size() * 2);
  for (char32_t c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      text::AppendUtf8(out, c);
    }
  }
}

}  // namespace spellcheck::hunspell
