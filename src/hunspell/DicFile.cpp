#include "hunspell/DicFile.h"

#include <algorithm>

#include "hunspell/AffixFile.h"
#include "hunspell/Casing.h"
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
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  auto warn = [&](std::size_t line, const std::string& what) {
    if (warnings) warnings->push_back(std::string(name) + ":" + std::to_string(line) + ": " + what);
  };
  // Lines one at a time: a list of them all would outweigh the table.
  std::size_t at = 0, number = 0;
  auto nextLine = [&](std::string_view& line) {
    if (at > bytes.size()) return false;
    std::size_t end = bytes.find('\n', at);
    if (end == std::string_view::npos) end = bytes.size();
    line = bytes.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    at = end + 1;
    ++number;
    return true;
  };
  // The table holds about one entry a line, and a few capitalised twins.
  const auto lines = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
  words.Reserve(lines + lines / 32);
  std::string_view line;
  bool counted = false, pending = false;
  while (nextLine(line)) {
    if (SplitFields(line).empty()) continue;
    const auto fields = SplitFields(line);
    if (AllDigits(fields[0])) {
      counted = true;
    } else {
      warn(number, "no word count on the first line");
      pending = true;  // this line is a word
    }
    break;
  }
  std::string word, error;
  std::u32string decoded;
  FlagSet flags;
  while (pending || nextLine(line)) {
    pending = false;
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
      warn(number, "word with bytes that are not " + affixes.encoding);
      continue;
    }
    for (char32_t c : affixes.ignore) std::erase(decoded, c);
    if (decoded.empty()) continue;
    flags.clear();
    if (!flagText.empty() && !ResolveFlags(affixes, flagText, flags, error)) warn(number, error);
    words.Add(ToUtf8(decoded), flags);
    const CapType type = ClassifyCase(decoded);
    if ((type == CapType::Mixed || type == CapType::MixedInit) &&
        !HasFlag(flags, affixes.forbidden)) {
      // Text in capitals may write any word so.
      FlagSet upper = flags;
      upper.insert(std::upper_bound(upper.begin(), upper.end(), kOnlyUpcaseFlag), kOnlyUpcaseFlag);
      words.AddHidden(ToUtf8(Uppered(decoded, affixes.turkishCasing)), upper);
    }
  }
  if (!counted && words.Size() == 0)
    throw LoadError(std::string(name) + ":1: no word count and no words");
}

}  // namespace spellcheck::hunspell
