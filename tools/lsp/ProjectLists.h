// The project word lists of open documents: the nearest .spellcheck-words.txt
// from each document's folder, read again when the file changes.
#ifndef SPELLCHECK_TOOL_LSP_PROJECTLISTS_H
#define SPELLCHECK_TOOL_LSP_PROJECTLISTS_H

#include <filesystem>
#include <map>
#include <optional>

#include "vocabularies/ProjectWords.h"

namespace spellcheck::tool::lsp {

class ProjectLists {
 public:
  // The words of the list nearest to `folder`; none without a folder, or
  // when the list cannot be read.
  const WordSet& For(const std::optional<std::filesystem::path>& folder);
  // Every list is read again at its next use.
  void Forget() { lists_.clear(); }

 private:
  struct List {
    std::filesystem::file_time_type written;
    WordSet words;
  };
  std::map<std::filesystem::path, List> lists_;
  WordSet none_;
};

}  // namespace spellcheck::tool::lsp

#endif
