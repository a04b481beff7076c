#include "Speller.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "text/Cp1252.h"
#include "text/CaseMapping.h"

#if __has_include("services/BatchSession.h")
#include "services/BatchSession.h"
#define SPELLCHECK_TOOL_HAS_BATCH_SESSION 1
#endif

namespace spellcheck::tool {

std::unique_ptr<TSpellerCheck> CreateRunChecker() {
#ifdef SPELLCHECK_TOOL_HAS_BATCH_SESSION
  return CreateBatchSession();
#else
  return std::unique_ptr<TSpellerCheck>(CreateSpellerCheck());
#endif
}

std::vector<std::string> SplitSuggestionList(std::string_view list) {
  std::vector<std::string> words;
  while (!list.empty()) {
    const std::size_t comma = list.find(", ");
    words.emplace_back(list.substr(0, comma));
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 2);
  }
  return words;
}

bool IsAllCapitals(std::string_view word) {
  std::size_t capitals = 0;
  for (const char c : word) {
    const auto byte = static_cast<unsigned char>(c);
    const unsigned char lower = text::Cp1252Lower(byte);
    if (lower != byte) {
      ++capitals;
    } else if (text::Cp1252Upper(byte) != byte) {
      return false;
    }
  }
  return capitals >= 2;
}

namespace {

// The word with its first letter kept and the rest in small letters: the
// form whose check also covers the all-small form.
std::string CapitalisedForm(std::string_view word) {
  std::string form(word);
  for (std::size_t i = 1; i < form.size(); ++i) {
    form[i] = static_cast<char>(text::Cp1252Lower(static_cast<unsigned char>(form[i])));
  }
  return form;
}

std::string UpperCase(std::string_view word) {
  std::string upper(word);
  for (char& c : upper) c = static_cast<char>(text::Cp1252Upper(static_cast<unsigned char>(c)));
  return upper;
}

}  // namespace

namespace {

// A bound on what is remembered, for texts with endless distinct words.
constexpr std::size_t MaxRemembered = 1 << 20;

std::vector<std::string> AllFiles(const DictionarySet& set) {
  std::vector<std::string> files = set.Further();
  files.insert(files.begin(), set.main);
  return files;
}

}  // namespace

// FNV-1a: words are short, and this is cheaper than the library's general hash.
std::size_t Speller::WordHash::operator()(const std::string& word) const noexcept {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : word) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  return static_cast<std::size_t>(hash);
}

Speller::Speller(std::unique_ptr<TSpellerCheck> checker, DictionarySet dictionaries)
    : checker_(std::move(checker)),
      dictionaries_(std::move(dictionaries)),
      watch_(AllFiles(dictionaries_)) {
  further_ = dictionaries_.Further();
  answers_.reserve(1 << 14);
  furtherNames_.fill(DefaultDic);
  for (std::size_t i = 0; i < further_.size() && i < furtherNames_.size(); ++i) {
    furtherNames_[i] = further_[i].c_str();
  }
  checker_->SetMainDic(dictionaries_.main.c_str());
  if (dictionaries_.custom) checker_->SetCustDic(dictionaries_.custom->c_str());
}

bool Speller::CheckCp1252(const std::string& word) {
  const auto& d = furtherNames_;
  return checker_->CheckWord(word.c_str(), !further_.empty(), dictionaries_.ignoreCase,
                             dictionaries_.main.c_str(), d[0], d[1], d[2], d[3], d[4], d[5], d[6],
                             d[7], d[8], d[9]);
}

void Speller::Revalidate() {
  if (watch_.Changed()) Forget();
}

void Speller::Forget() {
  answers_.clear();
  suggestions_.clear();
}

bool Speller::IsCorrect(std::string_view utf8Word) {
  if (!text::Utf8ToCp1252(utf8Word, cp1252_) || cp1252_.empty()) return false;
  if (!sessionWords_.empty() && sessionWords_.count(cp1252_) != 0) return true;
  if (const auto known = answers_.find(cp1252_); known != answers_.end()) return known->second;
  const bool correct = Answer(cp1252_);
  if (answers_.size() >= MaxRemembered) answers_.clear();
  answers_.emplace(cp1252_, correct);
  return correct;
}

bool Speller::Answer(const std::string& word) {
  if (CheckCp1252(word)) return true;
  if (!IsAllCapitals(word)) return false;
  form_ = CapitalisedForm(word);
  return CheckCp1252(form_);
}

std::vector<std::string> Speller::Suggest(std::string_view utf8Word) {
  if (!text::Utf8ToCp1252(utf8Word, cp1252_)) return {};
  if (const auto known = suggestions_.find(cp1252_); known != suggestions_.end()) {
    return known->second;
  }
  if (suggestions_.size() >= MaxRemembered / 16) suggestions_.clear();
  std::vector<std::string> suggestions = Ask(cp1252_);
  suggestions_.emplace(cp1252_, suggestions);
  return suggestions;
}

std::vector<std::string> Speller::Ask(const std::string& word) {
  const bool allCapitals = IsAllCapitals(word);
  const std::string query = allCapitals ? CapitalisedForm(word) : word;
  const auto& d = furtherNames_;
  // Always with the further dictionaries, so that the list comes sorted and
  // without duplicates whatever dictionaries are in use.
  const char* list = checker_->SuggestWords(query.c_str(), true, dictionaries_.ignoreCase,
                                            dictionaries_.main.c_str(), d[0], d[1], d[2], d[3],
                                            d[4], d[5], d[6], d[7], d[8], d[9]);
  std::vector<std::string> suggestions;
  for (std::string& suggestion : SplitSuggestionList(list)) {
    if (allCapitals) suggestion = UpperCase(suggestion);
    std::string utf8 = text::Cp1252ToUtf8(suggestion);
    if (std::find(suggestions.begin(), suggestions.end(), utf8) == suggestions.end()) {
      suggestions.push_back(std::move(utf8));
    }
  }
  return suggestions;
}

void Speller::AcceptForSession(std::string_view utf8Word) {
  if (text::Utf8ToCp1252(utf8Word, cp1252_) && !cp1252_.empty()) sessionWords_.insert(cp1252_);
}

bool Speller::AddToCustom(std::string_view utf8Word) {
  if (!text::Utf8ToCp1252(utf8Word, cp1252_) || cp1252_.empty()) return false;
  if (!dictionaries_.custom) {
    sessionWords_.insert(cp1252_);
    return true;
  }
  PrepareCustomFolder(dictionaries_);
  checker_->AddWord(cp1252_.c_str(), dictionaries_.custom->c_str());
  Forget();
  return true;
}

}  // namespace spellcheck::tool
