#include "hunspell/DicFile.h"

#include "hunspell/AffixFile.h"
#include "hunspell/LoadError.h"

namespace spellcheck::hunspell {

namespace {

bool AllDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// A morphological field ("po:noun") or an AM alias number starts here.
bool StartsMorphology(std::string_view rest) {
  std::size_t end = 0;
  while (end < rest.size() && rest[end] != ' ' && rest[end] != '\t') ++end;
  const std::string_view token = rest.substr(0, end);
  return (token.size() >= 3 && token[2] == ':') || AllDigits(token);
}

}  // namespace

void ReadDicFile(std::string_view bytes, std::string_view name, const AffixData& affixes,
                 WordTable& words, std::vector<std::string>* warnings) {
  const auto lines = SplitLines(bytes);
  auto warn = [&](std::size_t line, const std::string& what) {
    if (warnings) warnings->push_back(std::string(name) + ":" + std::to_string(line) + ": " + what);
  };
  std::size_t first = 0;
  bool counted = false;
  while (first < lines.size() && SplitFields(lines[first]).empty()) ++first;
  if (first < lines.size()) {
    const auto fields = SplitFields(lines[first]);
    if (fields.size() == 1 && AllDigits(fields[0])) {
      counted = true;
      ++first;
    } else {
      warn(first + 1, "no word count on the first line");
    }
  }
  std::string word, error;
  std::u32string decoded;
  FlagSet flags;
  for (std::size_t i = first; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    if (line.empty() || line[0] == '\t' || line[0] == '#') continue;
    word.clear();
    std::string_view flagText;
    std::size_t pos = 0;
    while (pos < line.size()) {
      const char c = line[pos];
      if (c == '\\' && pos + 1 < line.size() && line[pos + 1] == '/') {
        word += '/';
        pos += 2;
        continue;
      }
      if (c == '/' && !word.empty()) {
        std::size_t end = pos + 1;
        while (end < line.size() && line[end] != ' ' && line[end] != '\t') ++end;
        flagText = line.substr(pos + 1, end - pos - 1);
        break;
      }
      if (c == '\t') break;
      if (c == ' ') {
        std::size_t next = pos;
        while (next < line.size() && line[next] == ' ') ++next;
        if (next == line.size() || StartsMorphology(line.substr(next))) break;
      }
      word += c;
      ++pos;
    }
    if (word.empty()) continue;
    if (!affixes.charset.Decode(word, decoded)) {
      warn(i + 1, "word with bytes that are not " + affixes.encoding);
      continue;
    }
    for (char32_t c : affixes.ignore) std::erase(decoded, c);
    if (decoded.empty()) continue;
    flags.clear();
    if (!flagText.empty() && !ResolveFlags(affixes, flagText, flags, error)) warn(i + 1, error);
    words.Add(ToUtf8(decoded), flags);
  }
  if (!counted && words.Size() == 0)
    throw LoadError(std::string(name) + ":1: no word count and no words");
  words.Finish();
}

}  // namespace spellcheck::hunspell
