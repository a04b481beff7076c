// Finds the words of a line of UTF-8 text: runs of letters of any script
// (with their combining marks) with inner apostrophes (' and ’) and hyphens.
// Runs that hold a digit are no words, and neither are URLs, e-mail
// addresses, file paths and hexadecimal colours: such a token is skipped, and
// only it (brackets, quotes and trailing punctuation around it are not part of
// it). Bytes that are not valid UTF-8 separate words.
#ifndef SPELLCHECK_TOOL_WORDSCANNER_H
#define SPELLCHECK_TOOL_WORDSCANNER_H

#include <cstddef>
#include <string_view>
#include <vector>

namespace spellcheck::tool {

struct WordSpan {
  std::size_t byteOffset = 0;  // in the line
  std::size_t byteLength = 0;
  std::size_t charOffset = 0;  // characters before the word; an invalid byte counts as one
  bool hyphenated = false;
};

// Replaces `words` with the words of `line`, in order. Answers the number of
// characters in the line (an invalid byte counts as one).
std::size_t ScanWords(std::string_view line, std::vector<WordSpan>& words);

// Character classes used by the scanner.
bool IsLetter(char32_t c);
bool IsBlank(char32_t c);

}  // namespace spellcheck::tool

#endif
