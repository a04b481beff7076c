#include "lsp/LanguageModes.h"

#include <array>
#include <utility>

namespace spellcheck::tool::lsp {
namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 27> Modes{{
    {"markdown", "markdown"},
    {"latex", "tex"},
    {"tex", "tex"},
    {"plaintex", "tex"},
    {"bibtex", "tex"},
    {"html", "html"},
    {"xhtml", "html"},
    {"xml", "xml"},
    {"svg", "xml"},
    {"c", "c"},
    {"cpp", "c"},
    {"objective-c", "c"},
    {"objective-cpp", "c"},
    {"java", "java"},
    {"javascript", "js"},
    {"javascriptreact", "js"},
    {"typescript", "js"},
    {"typescriptreact", "js"},
    {"go", "go"},
    {"rust", "rust"},
    {"python", "python"},
    {"shellscript", "shell"},
    {"sh", "shell"},
    {"bash", "shell"},
    {"cmake", "cmake"},
    {"yaml", "yaml"},
    {"toml", "toml"},
}};

}  // namespace

std::string ModeForLanguage(std::string_view languageId) {
  for (const auto& [id, mode] : Modes) {
    if (id == languageId) return std::string(mode);
  }
  return "text";
}

}  // namespace spellcheck::tool::lsp
