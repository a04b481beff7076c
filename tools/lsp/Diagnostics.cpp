#include "lsp/Diagnostics.h"

#include <string>

namespace spellcheck::tool::lsp {

using json = nlohmann::json;

json RangeJson(const Document& document, std::size_t line, std::size_t begin, std::size_t end,
               PositionEncoding encoding) {
  const std::string_view text = document.Line(line);
  return {{"start", {{"line", line}, {"character", ByteToColumn(text, begin, encoding)}}},
          {"end", {{"line", line}, {"character", ByteToColumn(text, end, encoding)}}}};
}

json DiagnosticsJson(const Document& document, const std::vector<Misspelling>& found,
                     PositionEncoding encoding, const Settings& settings, engine::Speller& speller,
                     Suggestions& suggestions, std::size_t& budget, std::size_t& missing) {
  json diagnostics = json::array();
  missing = 0;
  for (const Misspelling& misspelling : found) {
    json data = {{"word", misspelling.word}};
    const std::vector<std::string>* known =
        suggestions.Known(misspelling.word, settings.maxSuggestions);
    if (!known && budget > 0) {
      --budget;
      known = &suggestions.For(speller, misspelling.word, settings.maxSuggestions);
    }
    if (known) {
      data["suggestions"] = *known;
    } else {
      ++missing;
    }
    diagnostics.push_back({{"range", RangeJson(document, misspelling.line, misspelling.begin,
                                               misspelling.end, encoding)},
                           {"severity", static_cast<int>(settings.severity)},
                           {"source", DiagnosticSource},
                           {"message", "Unknown word '" + std::string(misspelling.word) + "'"},
                           {"data", std::move(data)}});
  }
  return diagnostics;
}

}  // namespace spellcheck::tool::lsp
