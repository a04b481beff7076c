#include "filters/DocumentWords.h"

#include <algorithm>

namespace spellcheck::tool {

bool Unreported(const InlineControls& controls, const std::unordered_set<std::string>& accepted,
                std::string_view line, const CheckedWord& word, const WordContext* context,
                engine::Speller* speller, KnownWords* memo) {
  if (word.correct) return true;
  if (controls.Silenced(static_cast<std::size_t>(word.text.data() - line.data()))) return true;
  const std::string text(word.text);
  return accepted.contains(text) || controls.Ignores(text) ||
         (context != nullptr && context->Accepts(
                                    text, word.definition,
                                    [speller](std::string_view piece) {
                                      return speller != nullptr && speller->IsCorrect(piece);
                                    },
                                    memo));
}

void DocumentWords::Find(std::string_view document, Filter* filter,
                         const std::unordered_set<std::string>& accepted, const LineHook& onLine,
                         const WordHook& onWord) {
  controls_ = InlineControls();
  regions_.clear();
  if (filter != nullptr) filter->Regions(document, regions_);
  checker_.SplitCompounds(filter != nullptr && filter->SplitsCompounds());
  std::size_t next = 0;  // the first region not wholly before the line
  std::size_t lineNumber = 0;
  for (std::size_t begin = 0; begin < document.size();) {
    std::size_t end = document.find('\n', begin);
    if (end == std::string_view::npos) end = document.size();
    ++lineNumber;
    const std::string_view line = document.substr(begin, end - begin);
    if (onLine) onLine(lineNumber, line);
    controls_.Read(line, true);
    if (filter == nullptr) {
      checker_.Check(line, words_);
    } else {
      RegionsOfLine(regions_, next, begin, end, lineRegions_);
      CheckRegions(checker_, line, lineRegions_, words_);
    }
    for (const CheckedWord& word : words_) {
      if (!Unreported(controls_, accepted, line, word, context_, &speller_, &listed_))
        onWord(lineNumber, line, word);
    }
    begin = end + 1;
  }
}

}  // namespace spellcheck::tool
