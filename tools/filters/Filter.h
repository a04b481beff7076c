// Document filters: which parts of a document are prose to check. A filter
// is given the whole document (UTF-8) and answers the byte ranges whose words
// are checked, in order; text outside them (markup, code, addresses) never is.
#ifndef SPELLCHECK_TOOL_FILTERS_FILTER_H
#define SPELLCHECK_TOOL_FILTERS_FILTER_H

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "input/LineChecker.h"

namespace spellcheck::tool {

struct Region {
  std::size_t begin = 0;
  std::size_t end = 0;
  // The name of a definition in code (a function's, a class's, a
  // variable's): checked there, while its uses elsewhere are not.
  bool definition = false;
  // A name the code defines that is not checked (a parameter's): its text
  // is only a word of the run.
  bool nameOnly = false;
};

class Filter {
 public:
  virtual ~Filter() = default;
  // Replaces `regions` with those of `document`: ascending, not overlapping.
  virtual void Regions(std::string_view document, std::vector<Region>& regions) = 0;
  // Words such as parseHttpRequest are checked part by part (source code).
  virtual bool SplitsCompounds() const { return false; }
  // Whether Regions() also answers the names that definitions give
  // (source code; on by default).
  virtual void FindDefinitions(bool /*find*/) {}
};

// The filter of a mode ("text" has none: nullptr). Throws ToolError for a
// mode it does not know.
std::unique_ptr<Filter> MakeFilter(std::string_view mode);
// The mode of a file, from its name; "text" for names it does not know.
std::string ModeForFile(std::string_view path);
// The modes known, for help and error messages, separated by ", ".
std::string ModeNames();

// Collects regions in order, joining adjacent ones. A break (an entity, an
// accent command) inside a word drops the whole word: its letters before and
// after the break are taken out, since neither half is a word to judge.
class RegionBuilder {
 public:
  RegionBuilder(std::string_view document, std::vector<Region>& regions)
      : document_(document), regions_(regions) {
    regions_.clear();
  }
  void Add(std::size_t begin, std::size_t end);
  // A definition's name: a region of its own, never joined to others.
  void AddDefinition(std::size_t begin, std::size_t end, bool checked = true);
  void Break(std::size_t begin, std::size_t end);

 private:
  std::string_view document_;
  std::vector<Region>& regions_;
  std::size_t resumeAfterBreak_ = std::string_view::npos;
};

// Text with character references (&eacute; &#233;): those break words.
void AddWithEntities(RegionBuilder& regions, std::string_view document, std::size_t begin,
                     std::size_t end);

// The parts of a document's `regions` (ascending) that lie in its line
// [begin, end), as byte ranges of the line, into `line`. `next` is the first
// region not wholly before the line; call for the lines in order.
void RegionsOfLine(const std::vector<Region>& regions, std::size_t& next, std::size_t begin,
                   std::size_t end, std::vector<Region>& line);

// Checks the words of `line` that lie in `regions` (byte ranges of the
// line, ascending); their offsets count the characters of the whole line.
void CheckRegions(LineChecker& checker, std::string_view line, const std::vector<Region>& regions,
                  std::vector<CheckedWord>& words);

// The filters, one a file.
std::unique_ptr<Filter> MakeMarkdownFilter();  // nullptr when built without md4c
std::unique_ptr<Filter> MakeHtmlFilter(bool xml);
std::unique_ptr<Filter> MakeMarkupTokenizer(bool xml);  // HTML without gumbo, and XML
std::unique_ptr<Filter> MakeTexFilter();
std::unique_ptr<Filter> MakeNroffFilter();
std::unique_ptr<Filter> MakeEmailFilter();
std::unique_ptr<Filter> MakeCodeFilter(std::string_view language);  // nullptr: not a language
bool IsCodeLanguage(std::string_view language);

}  // namespace spellcheck::tool

#endif
