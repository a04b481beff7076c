#include "tree/IgnoreRules.h"

namespace spellcheck::tool {

void IgnoreRules::AddText(std::string_view text) {
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    AddLine(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
}

void IgnoreRules::AddLine(std::string_view line) {
  if (line.ends_with('\r')) line.remove_suffix(1);
  // Trailing spaces go, unless the last is escaped.
  while (!line.empty() && line.back() == ' ') {
    std::size_t backslashes = 0;
    for (std::size_t i = line.size() - 1; i > 0 && line[i - 1] == '\\'; --i) ++backslashes;
    if (backslashes % 2 == 1) break;
    line.remove_suffix(1);
  }
  if (line.empty() || line.starts_with('#')) return;
  AddPattern(line);
}

void IgnoreRules::AddPattern(std::string_view pattern) {
  bool negated = false;
  if (pattern.starts_with('!')) {
    negated = true;
    pattern.remove_prefix(1);
  } else if (pattern.starts_with("\\!") || pattern.starts_with("\\#")) {
    pattern.remove_prefix(1);
  }
  if (pattern.empty()) return;
  rules_.push_back({Glob(pattern), negated});
}

IgnoreRules::Verdict IgnoreRules::Decide(std::string_view path, bool isFolder, bool below) const {
  for (auto rule = rules_.rbegin(); rule != rules_.rend(); ++rule) {
    if (!below && rule->glob.Anchored()) continue;
    if (rule->glob.Matches(path, isFolder)) {
      return rule->negated ? Verdict::Included : Verdict::Ignored;
    }
  }
  return Verdict::None;
}

}  // namespace spellcheck::tool
