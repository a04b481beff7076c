#include "input/LineChecker.h"

#include "text/Utf8.h"

namespace spellcheck::tool {

std::size_t LineChecker::Check(std::string_view line, std::vector<CheckedWord>& words) {
  words.clear();
  const std::size_t chars = ScanWords(line, spans_);
  texts_.clear();
  for (const WordSpan& span : spans_)
    texts_.push_back(line.substr(span.byteOffset, span.byteLength));
  speller_.IsCorrectAll(texts_, answers_);
  for (std::size_t i = 0; i < spans_.size(); ++i) {
    const WordSpan& span = spans_[i];
    const std::string_view text = texts_[i];
    const bool correct = answers_[i] != 0;
    if (correct || !span.hyphenated) {
      words.push_back({text, span.charOffset, correct});
    } else {
      CheckParts(line, span, words);
    }
  }
  return chars;
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
