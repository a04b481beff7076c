// ispell's own kind of personal dictionary, which editors name with -p: a
// text of one word a line. Its words are accepted; words added are appended
// to it as lines, so that it stays a text that ispell, aspell and hunspell
// can read too.
#ifndef SPELLCHECK_TOOL_PERSONALLIST_H
#define SPELLCHECK_TOOL_PERSONALLIST_H

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace spellcheck::tool {

class PersonalList {
 public:
  PersonalList() = default;  // none
  // Reads the list (a missing file is an empty list); throws ToolError when
  // it cannot be read.
  explicit PersonalList(std::string path);

  bool Active() const { return !path_.empty(); }
  const std::vector<std::string>& Words() const { return words_; }

  // Appends the word as a line unless the list holds it; throws ToolError
  // when the file cannot be written.
  void Add(std::string_view word);

 private:
  std::string path_;
  std::vector<std::string> words_;
  std::unordered_set<std::string> known_;
};

// True when `text` is read as exactly one word in a text.
bool IsOneWord(std::string_view text);

}  // namespace spellcheck::tool

#endif
