// The server's settings, from initializationOptions and
// workspace/didChangeConfiguration, under "spellcheck" or at the top:
//   dictionaries: { main: FILE, custom: FILE, extra: [FILE...] }
//   language:     tag or [tags]   (en_US, de_DE, ...)
//   severity:     "error" | "warning" | "information" | "hint" (or 1-4)
//   maxSuggestions: N
// What is not given keeps its value; what has the wrong type is named in
// `problems` and left as it was.
#ifndef SPELLCHECK_TOOL_LSP_SETTINGS_H
#define SPELLCHECK_TOOL_LSP_SETTINGS_H

#include <cstddef>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "catalogue/RunDictionaries.h"

namespace spellcheck::tool::lsp {

// DiagnosticSeverity of the protocol.
enum class Severity { Error = 1, Warning = 2, Information = 3, Hint = 4 };

struct Settings {
  catalogue::DictionaryOptions dictionaries;
  // A misspelling is worth knowing, seldom an error.
  Severity severity = Severity::Information;
  std::size_t maxSuggestions = 5;
};

void ApplySettings(const nlohmann::json& value, Settings& settings,
                   std::vector<std::string>& problems);

}  // namespace spellcheck::tool::lsp

#endif
