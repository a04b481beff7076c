// The misspelled words of one open document, kept from check to check. The
// document's filter sees the whole text each time (a code fence or a comment
// opened on one line changes the lines after it), which is cheap; words are
// checked again only on lines whose text or checked regions changed since the
// last check. Inline controls, project words and the document's ignored words
// are applied to the remembered misspellings afterwards, so they cost nothing
// on unchanged lines either.
#ifndef SPELLCHECK_TOOL_LSP_DOCUMENTCHECK_H
#define SPELLCHECK_TOOL_LSP_DOCUMENTCHECK_H

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Speller.h"
#include "filters/Filter.h"
#include "lsp/Document.h"

namespace spellcheck::tool::lsp {

// A misspelled word: bytes [begin, end) of its line.
struct Misspelling {
  std::size_t line = 0;
  std::size_t begin = 0;
  std::size_t end = 0;
  std::string_view word;  // a view into the document's text, valid until it changes
};

class DocumentCheck {
 public:
  // `mode`: a filter mode of MakeFilter ("text" for none).
  explicit DocumentCheck(std::string_view mode);

  // Keeps the lines an edit left alone; those it touched are checked anew.
  void Edited(const LineEdit& edit);
  // Every line is checked anew (the dictionaries changed).
  void Forget();

  // The document's misspellings in order, but those that `accepted` takes.
  // Answers how many lines had their words checked.
  std::size_t Check(const Document& document, engine::Speller& speller,
                    const std::function<bool(std::string_view)>& accepted,
                    std::vector<Misspelling>& found);

 private:
  struct Word {
    std::size_t begin;
    std::size_t end;
  };
  struct Line {
    bool fresh = false;           // its words are known
    std::vector<Region> regions;  // the line's checked bytes the words came from
    std::vector<Word> words;      // its misspelled words
  };

  // The regions of each line, from the filter's regions of the whole text.
  void LineRegions(const Document& document);

  std::unique_ptr<Filter> filter_;
  std::vector<Line> lines_;
  std::vector<Region> regions_;                   // the filter's, of the whole text
  std::vector<std::vector<Region>> lineRegions_;  // scratch: this check's, per line
  std::vector<CheckedWord> checked_;
};

}  // namespace spellcheck::tool::lsp

#endif
