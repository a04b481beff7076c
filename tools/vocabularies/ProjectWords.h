// Project word lists: plain text, one word a line (empty lines and lines
// starting with # are skipped). The nearest .spellcheck-words.txt, looking
// from a file's folder up, and those named with --words hold words that
// count as correct.
#ifndef SPELLCHECK_TOOL_VOCABULARIES_PROJECTWORDS_H
#define SPELLCHECK_TOOL_VOCABULARIES_PROJECTWORDS_H

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

namespace spellcheck::tool {

inline constexpr std::string_view ProjectWordsFileName = ".spellcheck-words.txt";

using WordSet = std::unordered_set<std::string>;

// The nearest word list in `folder` or a folder above it.
std::optional<std::filesystem::path> FindProjectWords(const std::filesystem::path& folder);

// Adds the words of a list to `words`; throws ToolError when it cannot be read.
void ReadWordList(const std::filesystem::path& file, WordSet& words);

// The words that count as correct in each checked file: those of the lists
// given, with those of the file's nearest project list.
class ProjectWords {
 public:
  explicit ProjectWords(const std::vector<std::string>& lists);
  // For a file's name; "-" (standard input) looks from the current folder.
  const WordSet& For(const std::string& file);
  // Forgets the lists read (and what For handed out), so that words
  // appended to them since, and lists made since, are seen.
  void Reload() {
    byLists_.clear();
    nearest_.clear();
  }
  // For the files of `folder` (absolute), with the words of further lists
  // (a config's `words`; `namedIn` says where they are named, for errors).
  const WordSet& ForFolder(const std::filesystem::path& folder,
                           const std::vector<std::string>& further = {},
                           const std::string& namedIn = {});

 private:
  WordSet given_;
  // By the nearest list (empty: none) and the further lists.
  std::map<std::pair<std::filesystem::path, std::vector<std::string>>, WordSet> byLists_;
  std::map<std::filesystem::path, std::filesystem::path> nearest_;  // by folder
};

// The list that words of `file` go to: the nearest one from the file's
// folder up, else a new one in that folder.
std::filesystem::path ProjectListFor(const std::string& file);

// Whether a text can be a line of a word list: no blanks around it, no line
// end in it, not a comment.
bool FitsWordList(std::string_view word);

// Appends to the list the words that it lacks (making it when absent);
// answers for each word whether it was added. Throws ToolError when the list
// cannot be read or written.
std::vector<bool> AppendToWordList(const std::filesystem::path& list,
                                   const std::vector<std::string>& words);

// What adding words to a project list did: the list, each word with whether
// it was added (false: it was there already), and the arguments that are no
// word for a list.
struct ProjectAddition {
  std::filesystem::path list;
  std::vector<std::pair<std::string, bool>> words;
  std::vector<std::string> rejected;
};

// Appends the words (UTF-8) that the nearest list from `folder` lacks to it;
// when there is none, to a new list `otherwise`. Throws ToolError when the
// list cannot be read or written.
ProjectAddition AddProjectWords(const std::filesystem::path& folder,
                                const std::filesystem::path& otherwise,
                                const std::vector<std::string>& utf8Words);

// Appends the words that a project list lacks to the nearest one (made in
// the current folder when there is none). Prints what it did.
int RunAddProject(const std::vector<std::string>& words, const std::string& encoding);

}  // namespace spellcheck::tool

#endif
