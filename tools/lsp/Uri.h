// file: URIs and the paths they name.
#ifndef SPELLCHECK_TOOL_LSP_URI_H
#define SPELLCHECK_TOOL_LSP_URI_H

#include <filesystem>
#include <optional>
#include <string_view>

namespace spellcheck::tool::lsp {

// The path of a file: URI, percent escapes decoded; nothing for other schemes.
std::optional<std::filesystem::path> PathOfUri(std::string_view uri);

}  // namespace spellcheck::tool::lsp

#endif
