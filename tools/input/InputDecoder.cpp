#include "input/InputDecoder.h"

#include "text/Utf8.h"

namespace spellcheck::tool {
namespace {

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view Utf16LeMark = "\xFF\xFE";
constexpr std::string_view Utf16BeMark = "\xFE\xFF";

std::size_t SkipOneByte(std::string_view, std::size_t) {
  return 1;
}

}  // namespace

InputDecoder::InputDecoder(const std::string& encoding) : encoding_(encoding) {
  const Utf16 utf16 = Utf16Of(encoding);
  if (utf16 == Utf16::Little) {
    mode_ = Mode::Utf16Le;
  } else if (utf16 == Utf16::Big) {
    mode_ = Mode::Utf16Be;
  } else if (!IsUtf8Name(encoding)) {
    mode_ = Mode::Other;
    iconv_ = std::make_unique<Iconv>("UTF-8", encoding);
  }
}

void InputDecoder::Decode(std::string_view bytes, bool last, std::string& out) {
  if (atStart_) {
    pending_.append(bytes);
    // Wait for more only while what came may still be the start of a mark
    // (a pipe's first line may be a single character and its line end).
    const auto mayBeMark = [&](std::string_view mark) {
      return pending_.size() < mark.size() && mark.starts_with(pending_);
    };
    if (!last && (mayBeMark(Utf8Mark) || mayBeMark(Utf16LeMark) || mayBeMark(Utf16BeMark))) {
      return;
    }
    atStart_ = false;
    std::string head = std::move(pending_);
    pending_.clear();
    std::string_view rest = head;
    if (rest.starts_with(Utf8Mark)) {
      mode_ = Mode::Utf8;
      rest.remove_prefix(Utf8Mark.size());
    } else if (rest.starts_with(Utf16LeMark)) {
      mode_ = Mode::Utf16Le;
      rest.remove_prefix(Utf16LeMark.size());
    } else if (rest.starts_with(Utf16BeMark)) {
      mode_ = Mode::Utf16Be;
      rest.remove_prefix(Utf16BeMark.size());
    }
    Decode(rest, last, out);
    return;
  }
  switch (mode_) {
    case Mode::Utf8:
      out.append(bytes);
      return;
    case Mode::Utf16Le:
    case Mode::Utf16Be:
      DecodeUtf16(bytes, last, out);
      return;
    case Mode::Other: {
      pending_.append(bytes);
      // Convert up to the last whole character; iconv tells where that is by
      // stopping at a sequence cut short.
      std::string converted;
      const std::size_t used =
          iconv_->ConvertPrefix(pending_, converted, "\xEF\xBF\xBD", SkipOneByte, last);
      out += converted;
      pending_.erase(0, used);
      return;
    }
  }
}

void InputDecoder::DecodeUtf16(std::string_view bytes, bool last, std::string& out) {
  pending_.append(bytes);
  const bool little = mode_ == Mode::Utf16Le;
  const auto unit = [&](std::size_t at) {
    const auto a = static_cast<unsigned char>(pending_[at]);
    const auto b = static_cast<unsigned char>(pending_[at + 1]);
    return static_cast<char32_t>(little ? a | (b << 8) : (a << 8) | b);
  };
  std::size_t pos = 0;
  while (pos + 2 <= pending_.size()) {
    const char32_t first = unit(pos);
    if (first >= 0xD800 && first <= 0xDBFF) {
      if (pos + 4 > pending_.size()) break;  // the pair's second half is still to come
      const char32_t second = unit(pos + 2);
      if (second >= 0xDC00 && second <= 0xDFFF) {
        text::AppendUtf8(out, 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00));
        pos += 4;
        continue;
      }
      text::AppendUtf8(out, text::InvalidChar);
      pos += 2;
      continue;
    }
    text::AppendUtf8(out, first >= 0xDC00 && first <= 0xDFFF ? text::InvalidChar : first);
    pos += 2;
  }
  pending_.erase(0, pos);
  if (last && !pending_.empty()) {
    text::AppendUtf8(out, text::InvalidChar);
    pending_.clear();
  }
}

}  // namespace spellcheck::tool
