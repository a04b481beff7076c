// Misspellings as the protocol's diagnostics: a range in the agreed position
// encoding, the source "spellcheck", "Unknown word 'wrold'" and, in data,
// the word and its suggestions (best first), which code actions read back.
#ifndef SPELLCHECK_TOOL_LSP_DIAGNOSTICS_H
#define SPELLCHECK_TOOL_LSP_DIAGNOSTICS_H

#include <cstddef>
#include <nlohmann/json.hpp>
#include <string_view>
#include <vector>

#include "engine/Speller.h"
#include "lsp/Document.h"
#include "lsp/DocumentCheck.h"
#include "lsp/Settings.h"
#include "lsp/Suggestions.h"

namespace spellcheck::tool::lsp {

inline constexpr std::string_view DiagnosticSource = "spellcheck";

// Suggestions are worked out for at most this many words not asked for
// before in one publication; the others have theirs in code actions and in
// the publications that follow, so that a document full of unknown words
// (a foreign language, a wrong filter) is answered at once all the same.
inline constexpr std::size_t NewSuggestionsPerPublication = 200;

nlohmann::json RangeJson(const Document& document, std::size_t line, std::size_t begin,
                         std::size_t end, PositionEncoding encoding);

// `budget`: how many words not asked for before get suggestions; it is
// lowered by those asked for, and `missing` counts the words left without.
nlohmann::json DiagnosticsJson(const Document& document, const std::vector<Misspelling>& found,
                               PositionEncoding encoding, const Settings& settings,
                               engine::Speller& speller, Suggestions& suggestions,
                               std::size_t& budget, std::size_t& missing);

}  // namespace spellcheck::tool::lsp

#endif
