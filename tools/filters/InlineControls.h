// Controls written in a document, in any filter's comments or in plain text:
//   spellcheck:ignore WORD...        the words are accepted in the rest of the file
//   spellcheck:disable               no words are reported from here ...
//   spellcheck:enable                ... to here
//   spellcheck:disable-next-line     no words are reported on the next line
// The controls' own words (and an ignore's list) are never reported.
#ifndef SPELLCHECK_TOOL_FILTERS_INLINECONTROLS_H
#define SPELLCHECK_TOOL_FILTERS_INLINECONTROLS_H

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace spellcheck::tool {

class InlineControls {
 public:
  // Reads the controls of a piece of a line, the first piece of a line when
  // `startsLine`; pieces come in order. Afterwards Silenced() tells which of
  // its words are not reported.
  void Read(std::string_view piece, bool startsLine);

  // Whether the word at `byteOffset` of the piece last read is not reported.
  bool Silenced(std::size_t byteOffset) const;

  // Whether a word was named by an ignore so far.
  bool Ignores(std::string_view word) const { return ignored_.contains(std::string(word)); }

 private:
  struct Range {
    std::size_t begin;
    std::size_t end;
  };

  bool disabled_ = false;      // between disable and enable
  bool nextLine_ = false;      // disable-next-line was read on this line
  bool lineSilenced_ = false;  // the line after a disable-next-line
  std::vector<Range> silent_;  // byte ranges of the piece last read
  std::unordered_set<std::string> ignored_;
};

}  // namespace spellcheck::tool

#endif
