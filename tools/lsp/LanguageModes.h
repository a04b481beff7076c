// Which filter checks a document, from the client's languageId.
#ifndef SPELLCHECK_TOOL_LSP_LANGUAGEMODES_H
#define SPELLCHECK_TOOL_LSP_LANGUAGEMODES_H

#include <string>
#include <string_view>

namespace spellcheck::tool::lsp {

// A mode of MakeFilter; "text" for language ids it does not know.
std::string ModeForLanguage(std::string_view languageId);

}  // namespace spellcheck::tool::lsp

#endif
