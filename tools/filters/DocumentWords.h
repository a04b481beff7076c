// The misspelled words of a whole document, as list reports them and fix
// goes through them: the words of the filter's regions (all of the text
// without a filter) that are not correct, not accepted by the caller and not
// silenced by the document's inline controls, line by line, in order.
#ifndef SPELLCHECK_TOOL_FILTERS_DOCUMENTWORDS_H
#define SPELLCHECK_TOOL_FILTERS_DOCUMENTWORDS_H

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "engine/Speller.h"
#include "filters/Filter.h"
#include "filters/InlineControls.h"
#include "input/LineChecker.h"
#include "vocabularies/Vocabularies.h"

namespace spellcheck::tool {

// Whether a word of `line` goes unreported: correct, one of `accepted`, or
// silenced by the controls read last (for the piece `line`), or accepted by
// the context (vocabularies, identifiers, length), when there is one.
bool Unreported(const InlineControls& controls, const std::unordered_set<std::string>& accepted,
                std::string_view line, const CheckedWord& word,
                const WordContext* context = nullptr, engine::Speller* speller = nullptr,
                KnownWords* memo = nullptr);

class DocumentWords {
 public:
  explicit DocumentWords(engine::Speller& speller) : checker_(speller), speller_(speller) {}

  // What else the words of the next documents may be accepted by (null:
  // nothing); it must outlive them. Its lists may have changed since the
  // last call (the identifiers of another file), even at the same address.
  void SetContext(const WordContext* context) {
    context_ = context;
    listed_.Forget();
  }

  // Called before the words of each line (numbered from 1; without its "\n").
  using LineHook = std::function<void(std::size_t lineNumber, std::string_view line)>;
  // Called for each misspelled word; its text is a view into `line`.
  using WordHook =
      std::function<void(std::size_t lineNumber, std::string_view line, const CheckedWord& word)>;

  // `filter` null: every line is checked whole (plain text).
  void Find(std::string_view document, Filter* filter,
            const std::unordered_set<std::string>& accepted, const LineHook& onLine,
            const WordHook& onWord);

 private:
  LineChecker checker_;
  engine::Speller& speller_;
  const WordContext* context_ = nullptr;
  KnownWords listed_;
  InlineControls controls_;
  std::vector<CheckedWord> words_;
  std::vector<Region> regions_;
  std::vector<Region> lineRegions_;
};

}  // namespace spellcheck::tool

#endif
