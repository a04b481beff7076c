#include "commands/PipeArguments.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "catalogue/Catalogue.h"
#include "errors/ToolError.h"
#include "store/TvarWord.h"

namespace spellcheck::tool {

namespace {

// A file of word-list records: not empty (an empty file is ispell's text
// list as much as ours), whole records, a first length byte of at most 24.
bool IsWordList(const std::string& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  return !error && size != 0 && IsUsableDictionary(path, false);
}

}  // namespace

bool IsUsableDictionary(const std::string& path, bool mayBeMissing) {
  namespace fs = std::filesystem;
  std::error_code error;
  const auto status = fs::status(path, error);
  if (!fs::exists(status)) {
    if (!mayBeMissing || !path.ends_with(".dic")) return false;
    const auto folder = fs::path(path).parent_path();
    return folder.empty() || fs::is_directory(folder, error);
  }
  if (!fs::is_regular_file(status)) return false;
  const auto size = fs::file_size(path, error);
  if (error || size % store::RecordSize != 0) return false;
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  // The first record's length byte tells a word list from a text file.
  char length = 0;
  return size == 0 ||
         (file.get(length) && static_cast<unsigned char>(length) <= store::MaxWordLength);
}

namespace {

class ArgumentWalk {
 public:
  explicit ArgumentWalk(const std::vector<std::string>& arguments) : arguments_(arguments) {}

  bool Done() const { return index_ >= arguments_.size(); }
  const std::string& Take() { return arguments_[index_++]; }

  // The value of a one-letter option: attached ("-dNAME") or the next argument.
  std::string ShortValue(const std::string& option) {
    if (option.size() > 2) return option.substr(2);
    return Done() ? std::string() : Take();
  }

  // Same, but the next argument is taken only when it is no option itself.
  std::string OptionalShortValue(const std::string& option) {
    if (option.size() > 2) return option.substr(2);
    if (Done() || arguments_[index_].starts_with("-")) return std::string();
    return Take();
  }

  // The value of a long option: "--name=VALUE" or "--name VALUE".
  std::string LongValue(const std::string& option, const std::string& name) {
    if (option.size() > name.size()) return option.substr(name.size() + 1);
    if (Done()) throw ToolError(name + " needs a value");
    return Take();
  }

 private:
  const std::vector<std::string>& arguments_;
  std::size_t index_ = 0;
};

std::size_t ParseMax(const std::string& value) {
  std::size_t used = 0;
  unsigned long max = 0;
  try {
    max = std::stoul(value, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != value.size() || value.empty() || max == 0 || max > 1000) {
    throw ToolError("--max needs a number from 1 to 1000, not '" + value + "'");
  }
  return max;
}

bool IsLong(const std::string& option, const std::string& name) {
  return option == name || option.starts_with(name + "=");
}

// "-d de_DE" names a dictionary the way other checkers do: a file of that
// name, or with ".dic" added, is taken when it is a word list; else a
// language (several: "en_US,de_DE"), by tag or ispell's name ("deutsch"),
// which must be installed; else it is a name the editor gave its own entry
// ("spellcheck"), and changes nothing.
void ChooseMain(PipeArguments& parsed, const std::string& name) {
  if (name.empty()) return;
  if (IsUsableDictionary(name, false)) {
    parsed.dictionaries.main = name;
  } else if (IsUsableDictionary(name + ".dic", false)) {
    parsed.dictionaries.main = name + ".dic";
  } else if (name.find('/') != std::string::npos || name.ends_with(".dic")) {
    // A name that is plainly a file (not a language's name) must be one.
    throw ToolError("-d " + name + ": no word-list dictionary of that name");
  } else {
    std::size_t start = 0;
    for (;;) {
      const std::size_t comma = name.find(',', start);
      const std::string part = name.substr(start, comma - start);
      if (!catalogue::LanguageTag(part).empty()) parsed.dictionaries.languages.push_back(part);
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
  }
}

}  // namespace

PipeArguments ParsePipeArguments(const std::vector<std::string>& arguments) {
  PipeArguments parsed;
  ArgumentWalk walk(arguments);
  while (!walk.Done()) {
    const std::string option = walk.Take();
    if (option == "-v" || option == "-vv") {
      parsed.versionOnly = true;
    } else if (option == "-h" || option == "--help") {
      parsed.help = true;
    } else if (IsLong(option, "--encoding")) {
      parsed.dictionaries.encoding = walk.LongValue(option, "--encoding");
    } else if (IsLong(option, "--lang")) {
      parsed.dictionaries.languages.push_back(walk.LongValue(option, "--lang"));
    } else if (IsLong(option, "--main")) {
      parsed.dictionaries.main = walk.LongValue(option, "--main");
    } else if (IsLong(option, "--custom")) {
      parsed.dictionaries.custom = walk.LongValue(option, "--custom");
    } else if (IsLong(option, "--dic")) {
      parsed.dictionaries.extra.push_back(walk.LongValue(option, "--dic"));
    } else if (option == "--positional") {
      parsed.suggestions.positional = true;
    } else if (IsLong(option, "--max")) {
      parsed.suggestions.max = ParseMax(walk.LongValue(option, "--max"));
    } else if (option == "--no-custom") {
      parsed.dictionaries.noCustom = true;
    } else if (option == "--ignore-case") {
      parsed.dictionaries.ignoreCase = true;
    } else if (option.starts_with("-d")) {
      ChooseMain(parsed, walk.ShortValue(option));
    } else if (option.starts_with("-p")) {
      // A word-list dictionary (or a .dic file yet to be made) is the custom
      // dictionary; anything else is a personal word list in ispell's text form.
      const std::string custom = walk.ShortValue(option);
      if (custom.empty()) continue;
      if (IsWordList(custom) || (custom.ends_with(".dic") && IsUsableDictionary(custom, true))) {
        parsed.dictionaries.custom = custom;
      } else {
        parsed.personalList = custom;
      }
    } else if (option.starts_with("-i")) {
      // hunspell's input encoding, attached or following.
      const std::string encoding = walk.OptionalShortValue(option);
      if (!encoding.empty()) parsed.dictionaries.encoding = encoding;
    } else if (option == "-t") {
      parsed.mode = "tex";
    } else if (option == "-H") {
      parsed.mode = "html";
    } else if (option == "-n") {
      parsed.mode = "nroff";
    } else if (option.starts_with("-T") || option.starts_with("-w")) {
      walk.ShortValue(option);
    }
    // Everything else ("pipe", -a, -m, -B, -C, -S, unknown options)
    // changes nothing.
  }
  return parsed;
}

}  // namespace spellcheck::tool
