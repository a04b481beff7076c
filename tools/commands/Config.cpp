#include "commands/Config.h"

#include <toml++/toml.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>
#include <tuple>

#include "errors/ToolError.h"
#include "filters/Filter.h"
#include "tree/TreeWalk.h"
#include "vocabularies/Vocabularies.h"

namespace spellcheck::tool {
namespace {

namespace fs = std::filesystem;

std::string TypeName(const toml::node& node) {
  switch (node.type()) {
    case toml::node_type::string:
      return "a string";
    case toml::node_type::integer:
      return "an integer";
    case toml::node_type::floating_point:
      return "a number";
    case toml::node_type::boolean:
      return "a boolean";
    case toml::node_type::date:
    case toml::node_type::time:
    case toml::node_type::date_time:
      return "a date or time";
    case toml::node_type::table:
      return "a table";
    case toml::node_type::array:
      return "an array";
    default:
      return "nothing";
  }
}

std::string Quoted(std::string_view text) {
  return "'" + std::string(text) + "'";
}

// A table's keys in the order the file writes them (toml++ sorts them).
struct Key {
  std::string name;
  const toml::node* node;
  std::size_t line;
  std::size_t column;
};

std::vector<Key> InFileOrder(const toml::table& table) {
  std::vector<Key> keys;
  for (auto&& [key, node] : table) {
    const toml::source_position at =
        key.source().begin.line != 0 ? key.source().begin : node.source().begin;
    keys.push_back({std::string(key.str()), &node, at.line, at.column});
  }
  std::sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
    return std::tie(a.line, a.column) < std::tie(b.line, b.column);
  });
  return keys;
}

class Reader {
 public:
  explicit Reader(Config& config) : config_(config) {}

  void Read(const toml::table& table) {
    for (const Key& key : InFileOrder(table)) {
      if (key.name == "languages") {
        config_.languages = {Strings(key, key.name), key.line, true};
      } else if (key.name == "words") {
        config_.words = {Paths(Strings(key, key.name)), key.line, true};
      } else if (key.name == "exclude") {
        config_.exclude = {Strings(key, key.name), key.line, true};
        for (const std::string& pattern : config_.exclude.value) {
          config_.excludeRules.AddPattern(pattern);
        }
      } else if (key.name == "dictionaries") {
        Dictionaries(key);
      } else if (key.name == "modes") {
        Modes(key);
      } else if (key.name == "identifiers") {
        const auto* value = key.node->as_boolean();
        if (!value) Fail(key.line, "'identifiers' must be a boolean, not " + TypeName(*key.node));
        config_.identifiers = {value->get(), key.line, true};
      } else if (key.name == "min-word-length") {
        const auto* value = key.node->as_integer();
        if (!value || value->get() < 0 || value->get() > 100) {
          Fail(key.line, "'min-word-length' must be an integer from 0 to 100");
        }
        config_.minWordLength = {static_cast<std::size_t>(value->get()), key.line, true};
      } else if (key.name == "vocabularies") {
        Vocabularies(key);
      } else {
        Fail(key.line, "unknown key " + Quoted(key.name) + " (known: " + ConfigKeyNames() + ")");
      }
    }
  }

 private:
  [[noreturn]] void Fail(std::size_t line, const std::string& message) const {
    throw ToolError(config_.Where(line) + ": " + message);
  }

  static std::size_t LineOf(const toml::node& node, std::size_t otherwise) {
    return node.source().begin.line != 0 ? node.source().begin.line : otherwise;
  }

  std::string String(const toml::node& node, const std::string& name, std::size_t line) const {
    const auto* value = node.as_string();
    if (!value) Fail(LineOf(node, line), Quoted(name) + " must be a string, not " + TypeName(node));
    if (value->get().empty()) Fail(LineOf(node, line), Quoted(name) + " must not be empty");
    return value->get();
  }

  std::vector<std::string> Strings(const Key& key, const std::string& name) const {
    const auto* array = key.node->as_array();
    if (!array) {
      Fail(key.line, Quoted(name) + " must be an array of strings, not " + TypeName(*key.node));
    }
    std::vector<std::string> values;
    for (const toml::node& item : *array) {
      if (!item.is_string()) {
        Fail(LineOf(item, key.line),
             Quoted(name) + " must be an array of strings, and holds " + TypeName(item));
      }
      values.push_back(String(item, name, key.line));
    }
    return values;
  }

  std::string PathOf(const std::string& value) const {
    const fs::path path(value);
    return path.is_absolute() ? value : (config_.folder / path).lexically_normal().string();
  }

  std::vector<std::string> Paths(std::vector<std::string> values) const {
    for (std::string& value : values) value = PathOf(value);
    return values;
  }

  const toml::table& Table(const Key& key) const {
    const auto* table = key.node->as_table();
    if (!table) Fail(key.line, Quoted(key.name) + " must be a table, not " + TypeName(*key.node));
    return *table;
  }

  void Dictionaries(const Key& parent) {
    for (const Key& key : InFileOrder(Table(parent))) {
      const std::string name = "dictionaries." + key.name;
      if (key.name == "main") {
        config_.main = {PathOf(String(*key.node, name, key.line)), key.line, true};
      } else if (key.name == "custom") {
        config_.custom = {PathOf(String(*key.node, name, key.line)), key.line, true};
      } else if (key.name == "extra") {
        config_.extra = {Paths(Strings(key, name)), key.line, true};
      } else {
        Fail(key.line,
             "unknown key " + Quoted(name) + " (known in [dictionaries]: main, custom, extra)");
      }
    }
  }

  void Modes(const Key& parent) {
    for (const Key& key : InFileOrder(Table(parent))) {
      const std::string name = "modes.\"" + key.name + "\"";
      if (key.name.empty()) Fail(key.line, "a pattern of [modes] must not be empty");
      std::string mode = String(*key.node, name, key.line);
      try {
        MakeFilter(mode);
      } catch (const ToolError& error) {
        Fail(LineOf(*key.node, key.line), name + ": " + error.what());
      }
      config_.modes.push_back({Glob(key.name), std::move(mode), key.line});
    }
  }

  void Vocabularies(const Key& parent) {
    for (const Key& key : InFileOrder(Table(parent))) {
      const std::string name = "vocabularies." + key.name;
      if (key.name != "all") {
        try {
          MakeFilter(key.name);
        } catch (const ToolError& error) {
          Fail(key.line, name + ": " + error.what());
        }
      }
      std::vector<std::string> names = Strings(key, name);
      for (const std::string& vocabulary : names) {
        if (!IsVocabulary(vocabulary)) {
          Fail(key.line, name + ": unknown vocabulary " + Quoted(vocabulary) +
                             " (known: " + VocabularyNames() + ")");
        }
      }
      config_.vocabularies[key.name] = {std::move(names), key.line, true};
    }
  }

  Config& config_;
};

}  // namespace

std::string ConfigKeyNames() {
  return "languages, words, exclude, dictionaries (main, custom, extra), modes, identifiers, "
         "min-word-length, vocabularies";
}

std::string Config::Where(std::size_t line) const {
  return file.string() + ":" + std::to_string(line);
}

const ModeRule* Config::ModeFor(const fs::path& path) const {
  const std::optional<std::string> below = PathBelow(folder, path);
  const std::string name = path.filename().string();
  for (auto rule = modes.rbegin(); rule != modes.rend(); ++rule) {
    if (below ? rule->glob.Matches(*below) : !rule->glob.Anchored() && rule->glob.Matches(name)) {
      return &*rule;
    }
  }
  return nullptr;
}

std::vector<std::string> Config::VocabulariesFor(const std::string& mode, std::size_t* line,
                                                 bool english) const {
  auto found = vocabularies.find(mode);
  if (found == vocabularies.end()) found = vocabularies.find("all");
  if (found == vocabularies.end()) {
    if (line) *line = 0;
    return DefaultVocabularies(mode, english);
  }
  if (line) *line = found->second.line;
  return found->second.value;
}

bool Config::Excludes(const fs::path& entry, bool isFolder) const {
  if (excludeRules.Empty()) return false;
  const std::optional<std::string> below = PathBelow(folder, entry);
  return excludeRules.Ignores(below ? *below : entry.filename().string(), isFolder,
                              below.has_value());
}

Config ReadConfig(const fs::path& given) {
  Config config;
  config.file = NormalPath(given);
  config.folder = config.file.parent_path();
  std::error_code error;
  if (fs::is_directory(config.file, error)) {
    throw ToolError(config.file.string() + ": a folder, not a config file");
  }
  std::ifstream in(config.file, std::ios::binary);
  if (!in) throw ToolError(config.file.string() + ": cannot read the config file");
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw ToolError(config.file.string() + ": cannot read the config file");
  toml::table table;
  try {
    table = toml::parse(text, config.file.string());
  } catch (const toml::parse_error& failure) {
    const toml::source_position at = failure.source().begin;
    throw ToolError(config.file.string() + ":" + std::to_string(at.line) + ":" +
                    std::to_string(at.column) +
                    ": not valid TOML: " + std::string(failure.description()));
  }
  Reader(config).Read(table);
  return config;
}

ConfigFinder::ConfigFinder(const std::string& named, bool none) : noConfig_(none) {
  if (!none && !named.empty()) named_ = std::make_unique<Config>(ReadConfig(named));
}

const Config& ConfigFinder::For(const fs::path& start) {
  if (noConfig_) return none_;
  if (named_) return *named_;
  std::vector<fs::path> looked;
  const Config* found = &none_;
  std::error_code error;
  for (fs::path folder = start;; folder = folder.parent_path()) {
    if (const auto known = byFolder_.find(folder); known != byFolder_.end()) {
      found = known->second;
      break;
    }
    looked.push_back(folder);
    const fs::path candidate = folder / ConfigFileName;
    if (fs::exists(candidate, error)) {
      auto& config = byFile_[candidate];
      if (!config) config = std::make_unique<Config>(ReadConfig(candidate));
      found = config.get();
      break;
    }
    if (folder.empty() || folder == folder.parent_path()) break;
  }
  for (const fs::path& folder : looked) byFolder_[folder] = found;
  return *found;
}

catalogue::DictionaryOptions WithConfig(const catalogue::DictionaryOptions& commandLine,
                                        const Config& config) {
  catalogue::DictionaryOptions options = commandLine;
  if (options.main.empty() && config.main.set) options.main = config.main.value;
  if (options.custom.empty() && config.custom.set) options.custom = config.custom.value;
  if (options.extra.empty() && config.extra.set) options.extra = config.extra.value;
  if (options.languages.empty() && config.languages.set) {
    options.languages = config.languages.value;
  }
  return options;
}

}  // namespace spellcheck::tool
