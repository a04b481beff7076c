#include "lsp/Uri.h"

#include <string>

namespace spellcheck::tool::lsp {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<std::filesystem::path> PathOfUri(std::string_view uri) {
  constexpr std::string_view Scheme = "file://";
  if (!uri.starts_with(Scheme)) return std::nullopt;
  uri.remove_prefix(Scheme.size());
  // file://host/path: only the local host is ours.
  const std::size_t slash = uri.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  const std::string_view host = uri.substr(0, slash);
  if (!host.empty() && host != "localhost") return std::nullopt;
  uri.remove_prefix(slash);
  std::string path;
  for (std::size_t at = 0; at < uri.size(); ++at) {
    if (uri[at] == '%' && at + 2 < uri.size() && HexValue(uri[at + 1]) >= 0 &&
        HexValue(uri[at + 2]) >= 0) {
      path.push_back(static_cast<char>(HexValue(uri[at + 1]) * 16 + HexValue(uri[at + 2])));
      at += 2;
    } else if (uri[at] == '?' || uri[at] == '#') {
      break;
    } else {
      path.push_back(uri[at]);
    }
  }
#if defined(_WIN32)
  // file:///C:/folder names C:/folder.
  if (path.size() >= 3 && path[0] == '/' && path[2] == ':') path.erase(0, 1);
#endif
  return std::filesystem::path(path);
}

}  // namespace spellcheck::tool::lsp
