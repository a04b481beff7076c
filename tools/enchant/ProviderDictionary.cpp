#include "enchant/ProviderDictionary.h"

#include "text/Cp1252.h"

namespace spellcheck::enchant {
namespace {

constexpr std::chrono::seconds LookInterval{1};

catalogue::RunDictionaries DictionariesFor(const catalogue::Language& language) {
  catalogue::DictionaryOptions options;
  // The dictionary found for the tag, named by its path so that it is that one.
  options.languages = {language.kind == catalogue::Kind::Hunspell ? language.aff : language.tag};
  return catalogue::ResolveDictionaries(options);
}

}  // namespace

ProviderDictionary::ProviderDictionary(const catalogue::Language& language)
    : dictionaries_(DictionariesFor(language)),
      speller_(
          catalogue::MakeSpeller(store::FileSystem::Default(), dictionaries_, catalogue::Reading::InMemory)),
      lookedAt_(std::chrono::steady_clock::now()) {}

void ProviderDictionary::LookAgainWhenDue() {
  const auto now = std::chrono::steady_clock::now();
  if (now - lookedAt_ < LookInterval) return;
  lookedAt_ = now;
  speller_.Refresh();
}

bool ProviderDictionary::IsCorrect(std::string_view utf8Word) {
  LookAgainWhenDue();
  return speller_.IsCorrect(utf8Word);
}

std::vector<std::string> ProviderDictionary::Suggest(std::string_view utf8Word) {
  LookAgainWhenDue();
  return speller_.Suggest(utf8Word, engine::Speller::Order::Ranked);
}

bool ProviderDictionary::AddToPersonal(std::string_view utf8Word) {
  catalogue::PrepareCustomFolder(dictionaries_);
  return speller_.AddToCustom(utf8Word);
}

void ProviderDictionary::AddToSession(std::string_view utf8Word) {
  speller_.AcceptForSession(utf8Word);
}

void ProviderDictionary::RemoveFromPersonal(std::string_view utf8Word) {
  const auto& custom = dictionaries_.set.custom;
  std::string word;
  if (!custom || !text::Utf8ToCp1252(utf8Word, word) || word.empty()) return;
  speller_.GetEngine().Remove(word, *custom, dictionaries_.set.ignoreCase);
}

}  // namespace spellcheck::enchant
