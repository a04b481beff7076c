#include "lsp/Settings.h"

#include <array>
#include <utility>

namespace spellcheck::tool::lsp {
namespace {

using json = nlohmann::json;

constexpr std::size_t MostSuggestions = 100;

constexpr std::array<std::pair<const char*, Severity>, 5> SeverityNames{{
    {"error", Severity::Error},
    {"warning", Severity::Warning},
    {"information", Severity::Information},
    {"info", Severity::Information},
    {"hint", Severity::Hint},
}};

void ReadString(const json& object, const char* key, std::string& into,
                std::vector<std::string>& problems, const std::string& where) {
  const auto at = object.find(key);
  if (at == object.end() || at->is_null()) return;
  if (at->is_string()) {
    into = at->get<std::string>();
  } else {
    problems.push_back(where + key + " must be a string");
  }
}

// A string or a list of strings.
void ReadList(const json& object, const char* key, std::vector<std::string>& into,
              std::vector<std::string>& problems, const std::string& where) {
  const auto at = object.find(key);
  if (at == object.end() || at->is_null()) return;
  if (at->is_string()) {
    into = {at->get<std::string>()};
    return;
  }
  std::vector<std::string> list;
  if (at->is_array()) {
    for (const json& item : *at) {
      if (!item.is_string()) break;
      list.push_back(item.get<std::string>());
    }
    if (list.size() == at->size()) {
      into = std::move(list);
      return;
    }
  }
  problems.push_back(where + key + " must be a string or a list of strings");
}

void ReadSeverity(const json& object, Severity& severity, std::vector<std::string>& problems) {
  const auto at = object.find("severity");
  if (at == object.end() || at->is_null()) return;
  if (at->is_number_integer()) {
    const auto value = at->get<long long>();
    if (value >= 1 && value <= 4) {
      severity = static_cast<Severity>(value);
      return;
    }
  } else if (at->is_string()) {
    std::string name = at->get<std::string>();
    for (char& c : name) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
    }
    for (const auto& [known, value] : SeverityNames) {
      if (name == known) {
        severity = value;
        return;
      }
    }
  }
  problems.push_back("severity must be error, warning, information or hint (or 1 to 4)");
}

}  // namespace

void ApplySettings(const json& value, Settings& settings, std::vector<std::string>& problems) {
  if (value.is_null()) return;
  if (!value.is_object()) {
    problems.push_back("the settings must be an object");
    return;
  }
  const auto nested = value.find("spellcheck");
  const json& own = nested != value.end() ? *nested : value;
  if (!own.is_object()) {
    problems.push_back("spellcheck settings must be an object");
    return;
  }
  if (const auto dictionaries = own.find("dictionaries");
      dictionaries != own.end() && !dictionaries->is_null()) {
    if (dictionaries->is_object()) {
      catalogue::DictionaryOptions& options = settings.dictionaries;
      ReadString(*dictionaries, "main", options.main, problems, "dictionaries.");
      ReadString(*dictionaries, "custom", options.custom, problems, "dictionaries.");
      ReadList(*dictionaries, "extra", options.extra, problems, "dictionaries.");
    } else {
      problems.push_back("dictionaries must be an object with main, custom and extra");
    }
  }
  ReadList(own, "language", settings.dictionaries.languages, problems, "");
  ReadSeverity(own, settings.severity, problems);
  if (const auto max = own.find("maxSuggestions"); max != own.end() && !max->is_null()) {
    if (max->is_number_unsigned() && max->get<unsigned long long>() <= MostSuggestions) {
      settings.maxSuggestions = max->get<std::size_t>();
    } else {
      problems.push_back("maxSuggestions must be a whole number from 0 to 100");
    }
  }
}

}  // namespace spellcheck::tool::lsp
