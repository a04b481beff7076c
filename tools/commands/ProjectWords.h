// Project word lists: plain text, one word a line (empty lines and lines
// starting with # are skipped). The nearest .spellcheck-words.txt, looking
// from a file's folder up, and those named with --words hold words that
// count as correct.
#ifndef SPELLCHECK_TOOL_COMMANDS_PROJECTWORDS_H
#define SPELLCHECK_TOOL_COMMANDS_PROJECTWORDS_H

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
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

// Appends the words that a project list lacks to the nearest one (made in
// the current folder when there is none). Prints what it did.
int RunAddProject(const std::vector<std::string>& words, const std::string& encoding);

}  // namespace spellcheck::tool

#endif
