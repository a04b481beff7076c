#include "input/LineChecker.h"

#include "text/Utf8.h"

namespace spellcheck::tool {

LineChecker::LineChecker(engine::Speller& speller) : speller_(speller) {
  const std::string characters = speller_.WordCharacters();
  for (std::size_t pos = 0; pos < characters.size();) {
    const char32_t c = text::DecodeUtf8(characters, pos);
    // Letters, digits (tokens with digits are no words), hyphens and
    // apostrophes are the scanner's own concern.
    const bool scanned = IsLetter(c) || (c >= '0' && c <= '9') || c == '-' || c == '\'' ||
                         c == 0x2019 || c == text::InvalidChar;
    if (!scanned && joiners_.find(c) == std::u32string::npos) joiners_.push_back(c);
  }
}

bool LineChecker::IsJoiner(std::string_view line, std::size_t at, std::size_t& next) const {
  if (at >= line.size()) return false;
  next = at;
  const char32_t c = text::DecodeUtf8(line, next);
  return joiners_.find(c) != std::u32string::npos;
}

void LineChecker::JoinAtWordCharacters(std::string_view line) {
  for (std::size_t first = 0; first < spans_.size();) {
    // The words from `first` to `last` follow each other with one joiner between.
    std::size_t last = first;
    bool wrong = answers_[first] == 0;
    std::size_t next = 0;
    while (last + 1 < spans_.size()) {
      const std::size_t end = spans_[last].byteOffset + spans_[last].byteLength;
      if (!IsJoiner(line, end, next) || next != spans_[last + 1].byteOffset) break;
      ++last;
      wrong = wrong || answers_[last] == 0;
    }
    if (wrong) {
      std::size_t end = spans_[last].byteOffset + spans_[last].byteLength;
      if (IsJoiner(line, end, next)) end = next;  // a trailing dot: "usw."
      const std::size_t begin = spans_[first].byteOffset;
      const bool joined = end > begin + spans_[first].byteLength || last > first;
      if (joined && speller_.IsCorrectWhole(line.substr(begin, end - begin))) {
        for (std::size_t k = first; k <= last; ++k) answers_[k] = 1;
      }
    }
    first = last + 1;
  }
}

std::size_t LineChecker::Check(std::string_view line, std::vector<CheckedWord>& words) {
  words.clear();
  const std::size_t chars = ScanWords(line, spans_);
  if (splitCompounds_) SplitSpans(line);
  texts_.clear();
  for (const WordSpan& span : spans_)
    texts_.push_back(line.substr(span.byteOffset, span.byteLength));
  speller_.IsCorrectAll(texts_, answers_);
  if (!joiners_.empty()) JoinAtWordCharacters(line);
  for (std::size_t i = 0; i < spans_.size(); ++i) {
    const WordSpan& span = spans_[i];
    const std::string_view text = texts_[i];
    const bool correct = answers_[i] != 0;
    if (correct || !span.hyphenated || !speller_.ChecksHyphenParts()) {
      words.push_back({text, span.charOffset, correct});
    } else {
      CheckParts(line, span, words);
    }
  }
  return chars;
}

namespace {

bool IsSmall(char c) {
  return c >= 'a' && c <= 'z';
}
bool IsCapital(char c) {
  return c >= 'A' && c <= 'Z';
}

}  // namespace

void LineChecker::SplitSpans(std::string_view line) {
  parts_.clear();
  for (const WordSpan& span : spans_) {
    const std::string_view text = line.substr(span.byteOffset, span.byteLength);
    std::size_t partStart = 0;
    std::size_t partChars = span.charOffset;
    std::size_t chars = span.charOffset;
    for (std::size_t i = 0; i <= text.size(); ++i) {
      // A part ends before a capital that follows a small letter, and before
      // the last capital of a run that a small letter follows (HTTPServer).
      const bool cut = i == text.size() ||
                       (i > 0 && IsCapital(text[i]) &&
                        (IsSmall(text[i - 1]) ||
                         (IsCapital(text[i - 1]) && i + 1 < text.size() && IsSmall(text[i + 1]))));
      if (cut && i > partStart) {
        const std::string_view part = text.substr(partStart, i - partStart);
        parts_.push_back({span.byteOffset + partStart, i - partStart, partChars,
                          part.find('-') != std::string_view::npos});
        partStart = i;
        partChars = chars;
      }
      if (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++chars;
    }
  }
  spans_.swap(parts_);
}

void LineChecker::CheckParts(std::string_view line, const WordSpan& span,
                             std::vector<CheckedWord>& words) {
  const std::string_view text = line.substr(span.byteOffset, span.byteLength);
  std::size_t partStart = 0;
  std::size_t partChars = span.charOffset;
  std::size_t chars = span.charOffset;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    if (pos == text.size() || text[pos] == '-') {
      const std::string_view part = text.substr(partStart, pos - partStart);
      words.push_back({part, partChars, speller_.IsCorrectWhole(part)});
      if (pos == text.size()) break;
      ++pos;
      ++chars;
      partStart = pos;
      partChars = chars;
      continue;
    }
    spellcheck::text::DecodeUtf8(text, pos);
    ++chars;
  }
}

}  // namespace spellcheck::tool
