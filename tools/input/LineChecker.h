// Checks every word of a line. A hyphenated word is correct as a whole when
// a dictionary holds it so, or else part by part, each part answered (and
// placed) by itself, as other checkers do.
#ifndef SPELLCHECK_TOOL_LINECHECKER_H
#define SPELLCHECK_TOOL_LINECHECKER_H

#include <string>
#include <string_view>
#include <vector>

#include "engine/Speller.h"
#include "input/WordScanner.h"

namespace spellcheck::tool {

struct CheckedWord {
  std::string_view text;   // a view into the line
  std::size_t charOffset;  // characters before it in the line
  bool correct;
  bool definition = false;  // part of a definition's name in code
};

class LineChecker {
 public:
  explicit LineChecker(engine::Speller& speller);

  // Replaces `words` with the line's words and their answers, in order.
  // Answers the number of characters in the line.
  std::size_t Check(std::string_view utf8Line, std::vector<CheckedWord>& words);

  // Words such as parseHttpRequest or HTTPServer are checked (and placed)
  // part by part: parse, Http, Request; HTTP, Server.
  void SplitCompounds(bool split) { splitCompounds_ = split; }

 private:
  void CheckParts(std::string_view line, const WordSpan& span, std::vector<CheckedWord>& words);

  void SplitSpans(std::string_view line);
  // Words the scanner cut at a character that the dictionaries count as part
  // of words (a Hunspell dictionary's WORDCHARS: the dot of "usw." and
  // "z.B.", the middle dot of "col·lecció") are correct when the whole is.
  void JoinAtWordCharacters(std::string_view line);
  bool IsJoiner(std::string_view line, std::size_t at, std::size_t& next) const;

  engine::Speller& speller_;
  bool splitCompounds_ = false;
  std::vector<WordSpan> spans_;
  std::vector<WordSpan> parts_;
  std::vector<std::string_view> texts_;
  std::vector<char> answers_;  // 1: correct
  std::u32string joiners_;     // word characters the scanner does not take
};

}  // namespace spellcheck::tool

#endif
