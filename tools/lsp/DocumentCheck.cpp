#include "lsp/DocumentCheck.h"

#include <algorithm>

#include "filters/InlineControls.h"
#include "input/LineChecker.h"

namespace spellcheck::tool::lsp {
namespace {

bool SameRegions(const std::vector<Region>& a, const std::vector<Region>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const Region& x, const Region& y) {
    return x.begin == y.begin && x.end == y.end;
  });
}

}  // namespace

DocumentCheck::DocumentCheck(std::string_view mode) : filter_(MakeFilter(mode)) {}

void DocumentCheck::Edited(const LineEdit& edit) {
  const auto first =
      lines_.begin() + static_cast<std::ptrdiff_t>(std::min(edit.first, lines_.size()));
  const auto last = first + static_cast<std::ptrdiff_t>(std::min(
                                edit.removed, static_cast<std::size_t>(lines_.end() - first)));
  lines_.insert(lines_.erase(first, last), edit.inserted, Line());
}

void DocumentCheck::Forget() {
  for (Line& line : lines_) line.fresh = false;
}

void DocumentCheck::LineRegions(const Document& document) {
  const std::string& text = document.Text();
  const std::size_t count = document.LineCount();
  lineRegions_.resize(count);
  filter_->Regions(text, regions_);
  std::size_t next = 0;  // the first region not wholly before the line
  for (std::size_t index = 0; index < count; ++index) {
    const std::string_view line = document.Line(index);
    const std::size_t begin = static_cast<std::size_t>(line.data() - text.data());
    const std::size_t end = begin + line.size();
    RegionsOfLine(regions_, next, begin, end, lineRegions_[index]);
  }
}

std::size_t DocumentCheck::Check(const Document& document, engine::Speller& speller,
                                 const std::function<bool(std::string_view)>& accepted,
                                 std::vector<Misspelling>& found) {
  const std::size_t count = document.LineCount();
  lines_.resize(count);
  if (filter_) LineRegions(document);
  LineChecker checker(speller);
  checker.SplitCompounds(filter_ && filter_->SplitsCompounds());
  InlineControls controls;
  std::size_t checkedLines = 0;
  found.clear();
  for (std::size_t index = 0; index < count; ++index) {
    const std::string_view text = document.Line(index);
    Line& line = lines_[index];
    if (filter_ && !SameRegions(line.regions, lineRegions_[index])) line.fresh = false;
    if (!line.fresh) {
      ++checkedLines;
      if (filter_) {
        line.regions = lineRegions_[index];
        CheckRegions(checker, text, line.regions, checked_);
      } else {
        checker.Check(text, checked_);
      }
      line.words.clear();
      for (const CheckedWord& word : checked_) {
        if (word.correct) continue;
        const auto begin = static_cast<std::size_t>(word.text.data() - text.data());
        line.words.push_back({begin, begin + word.text.size()});
      }
      line.fresh = true;
    }
    controls.Read(text, true);
    for (const Word& word : line.words) {
      const std::string_view spelling = text.substr(word.begin, word.end - word.begin);
      if (controls.Silenced(word.begin) || controls.Ignores(std::string(spelling)) ||
          accepted(spelling)) {
        continue;
      }
      found.push_back({index, word.begin, word.end, spelling});
    }
  }
  return checkedLines;
}

}  // namespace spellcheck::tool::lsp
