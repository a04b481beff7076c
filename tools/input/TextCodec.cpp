#include "input/TextCodec.h"

#include <cerrno>
#include <memory>

#include "errors/ToolError.h"
#include "input/InputDecoder.h"
#include "text/Utf8.h"

namespace spellcheck::tool {

Iconv::Iconv(const std::string& to, const std::string& from)
    : cd_(iconv_open(to.c_str(), from.c_str())) {
  if (cd_ == reinterpret_cast<iconv_t>(-1))
    throw ToolError("unknown encoding: " + from + " to " + to);
}

Iconv::~Iconv() {
  iconv_close(cd_);
}

void Iconv::Convert(std::string_view in, std::string& out, std::string_view replacement,
                    std::size_t (*skip)(std::string_view, std::size_t)) {
  ConvertPrefix(in, out, replacement, skip, true);
}

std::size_t Iconv::ConvertPrefix(std::string_view in, std::string& out,
                                 std::string_view replacement,
                                 std::size_t (*skip)(std::string_view, std::size_t), bool last) {
  out.clear();
  iconv(cd_, nullptr, nullptr, nullptr, nullptr);
  std::size_t done = 0;
  char buffer[4096];
  while (done < in.size()) {
    char* inPtr = const_cast<char*>(in.data() + done);
    std::size_t inLeft = in.size() - done;
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t rc = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
    const int error = errno;
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    done = static_cast<std::size_t>(inPtr - in.data());
    if (rc != static_cast<std::size_t>(-1)) break;
    if (error == E2BIG) continue;
    // A sequence cut short by the end of what has come so far: the rest may follow.
    if (error == EINVAL && !last) return done;
    // EILSEQ, or EINVAL at the very end: a sequence that cannot be converted.
    out += replacement;
    done += skip(in, done);
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
  }
  // Flush any shift state.
  char* outPtr = buffer;
  std::size_t outLeft = sizeof buffer;
  iconv(cd_, nullptr, nullptr, &outPtr, &outLeft);
  out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
  return in.size();
}

namespace {

std::size_t SkipOneByte(std::string_view, std::size_t) {
  return 1;
}

std::size_t SkipOneUtf8Char(std::string_view text, std::size_t pos) {
  std::size_t next = pos;
  spellcheck::text::DecodeUtf8(text, next);
  return next - pos;
}

}  // namespace

bool IsUtf8Name(std::string_view encoding) {
  std::string folded;
  for (const char c : encoding) {
    if (c != '-' && c != '_') folded += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  }
  return folded == "utf8";
}

Utf16 Utf16Of(std::string_view encoding) {
  std::string folded;
  for (const char c : encoding) {
    if (c != '-' && c != '_') folded += static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  }
  if (folded == "UTF16BE") return Utf16::Big;
  if (folded == "UTF16LE" || folded == "UTF16") return Utf16::Little;
  return Utf16::None;
}

TextCodec::TextCodec(const std::string& encoding) : encoding_(encoding), utf16_(Utf16Of(encoding)) {
  if (IsUtf8Name(encoding) || utf16_ != Utf16::None) return;
  decoder_ = std::make_unique<Iconv>("UTF-8", encoding);
  encoder_ = std::make_unique<Iconv>(encoding, "UTF-8");
}

std::string_view TextCodec::ToUtf8(std::string_view text) {
  if (utf16_ != Utf16::None) {
    decoded_.clear();
    InputDecoder(encoding_).Decode(text, true, decoded_);
    return decoded_;
  }
  if (!decoder_) return text;
  decoder_->Convert(text, decoded_, "\xEF\xBF\xBD", SkipOneByte);
  return decoded_;
}

std::string_view TextCodec::FromUtf8(std::string_view text) {
  if (utf16_ != Utf16::None) {
    encoded_.clear();
    const auto put = [&](char32_t unit) {
      const auto low = static_cast<char>(unit & 0xFF);
      const auto high = static_cast<char>(unit >> 8);
      encoded_ += utf16_ == Utf16::Little ? low : high;
      encoded_ += utf16_ == Utf16::Little ? high : low;
    };
    for (std::size_t pos = 0; pos < text.size();) {
      const char32_t c = spellcheck::text::DecodeUtf8(text, pos);
      if (c < 0x10000) {
        put(c);
      } else {
        put(0xD800 + ((c - 0x10000) >> 10));
        put(0xDC00 + ((c - 0x10000) & 0x3FF));
      }
    }
    return encoded_;
  }
  if (!encoder_) return text;
  encoder_->Convert(text, encoded_, "?", SkipOneUtf8Char);
  return encoded_;
}

}  // namespace spellcheck::tool
