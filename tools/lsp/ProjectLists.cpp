#include "lsp/ProjectLists.h"

#include <iostream>
#include <system_error>

#include "errors/ToolError.h"

namespace spellcheck::tool::lsp {

const WordSet& ProjectLists::For(const std::optional<std::filesystem::path>& folder) {
  if (!folder) return none_;
  const std::optional<std::filesystem::path> file = FindProjectWords(*folder);
  if (!file) return none_;
  std::error_code error;
  const auto written = std::filesystem::last_write_time(*file, error);
  if (error) return none_;
  const auto [at, added] = lists_.try_emplace(*file);
  if (added || at->second.written != written) {
    at->second.written = written;
    at->second.words.clear();
    try {
      ReadWordList(*file, at->second.words);
    } catch (const ToolError& problem) {
      std::cerr << "spellcheck lsp: " << problem.what() << "\n";
    }
  }
  return at->second.words;
}

}  // namespace spellcheck::tool::lsp
