#include "lsp/CodeActions.h"

#include <algorithm>

#include "lsp/JsonRpc.h"

namespace spellcheck::tool::lsp {

json CommandNames() {
  return json::array({AddToDictionaryCommand, AddToProjectCommand, IgnoreInDocumentCommand});
}

void AddWordActions(json& actions, const std::string& uri, const json& range,
                    const std::string& word, const std::vector<std::string>& suggestions,
                    const json& diagnostic) {
  const json fixes = json::array({diagnostic});
  const std::size_t shown = std::min(suggestions.size(), ReplacementActions);
  for (std::size_t i = 0; i < shown; ++i) {
    json edit = {
        {"changes", {{uri, json::array({{{"range", range}, {"newText", suggestions[i]}}})}}}};
    actions.push_back({{"title", "Replace with '" + suggestions[i] + "'"},
                       {"kind", "quickfix"},
                       {"diagnostics", fixes},
                       {"isPreferred", i == 0},
                       {"edit", std::move(edit)}});
  }
  const auto command = [&](const std::string& title, std::string_view name, json arguments) {
    actions.push_back(
        {{"title", title},
         {"kind", "quickfix"},
         {"diagnostics", fixes},
         {"command", {{"title", title}, {"command", name}, {"arguments", std::move(arguments)}}}});
  };
  command("Add '" + word + "' to the dictionary", AddToDictionaryCommand, json::array({word}));
  command("Add '" + word + "' to the project word list", AddToProjectCommand,
          json::array({word, uri}));
  command("Ignore '" + word + "' in this document", IgnoreInDocumentCommand,
          json::array({word, uri}));
}

CommandArguments ReadCommandArguments(const json& arguments, bool needsUri) {
  CommandArguments read;
  if (!arguments.is_array() || arguments.empty() || !arguments[0].is_string() ||
      arguments[0].get_ref<const std::string&>().empty()) {
    throw RpcError(rpc::InvalidParams, "the command's first argument must be the word");
  }
  read.word = arguments[0].get<std::string>();
  if (arguments.size() > 1 && arguments[1].is_string()) read.uri = arguments[1].get<std::string>();
  if (needsUri && read.uri.empty()) {
    throw RpcError(rpc::InvalidParams, "the command's second argument must be the document's URI");
  }
  return read;
}

}  // namespace spellcheck::tool::lsp
