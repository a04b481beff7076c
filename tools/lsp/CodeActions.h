// The quick fixes for a misspelled word, and the commands they run:
//   Replace with 'X'                      a WorkspaceEdit, one per suggestion shown
//   Add 'X' to the dictionary             spellcheck.addToDictionary [word]
//   Add 'X' to the project word list      spellcheck.addToProject [word, uri]
//   Ignore 'X' in this document           spellcheck.ignoreInDocument [word, uri]
#ifndef SPELLCHECK_TOOL_LSP_CODEACTIONS_H
#define SPELLCHECK_TOOL_LSP_CODEACTIONS_H

#include <cstddef>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace spellcheck::tool::lsp {

inline constexpr std::string_view AddToDictionaryCommand = "spellcheck.addToDictionary";
inline constexpr std::string_view AddToProjectCommand = "spellcheck.addToProject";
inline constexpr std::string_view IgnoreInDocumentCommand = "spellcheck.ignoreInDocument";

// How many "Replace with" actions a word has at most.
inline constexpr std::size_t ReplacementActions = 3;

nlohmann::json CommandNames();

// Appends the actions for `word` at `range` of the document `uri`;
// `diagnostic` is the one they fix.
void AddWordActions(nlohmann::json& actions, const std::string& uri, const nlohmann::json& range,
                    const std::string& word, const std::vector<std::string>& suggestions,
                    const nlohmann::json& diagnostic);

// The word a command's arguments name, and the document's URI (empty when
// not given); throws RpcError (InvalidParams) for arguments of another shape.
struct CommandArguments {
  std::string word;
  std::string uri;
};
CommandArguments ReadCommandArguments(const nlohmann::json& arguments, bool needsUri);

}  // namespace spellcheck::tool::lsp

#endif
