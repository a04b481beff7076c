#include "enchant/ProviderDictionary.h"

#include "text/Cp1252.h"

namespace spellcheck::enchant {
namespace {

constexpr std::chrono::seconds LookInterval{1};

tool::RunDictionaries DictionariesFor(const std::string& mainFile) {
  tool::DictionaryOptions options;
  options.main = mainFile;
  return tool::ResolveDictionaries(options);
}

}  // namespace

ProviderDictionary::ProviderDictionary(const std::string& mainFile)
    : dictionaries_(DictionariesFor(mainFile)),
      speller_(
          tool::MakeSpeller(store::FileSystem::Default(), dictionaries_, tool::Reading::InMemory)),
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
  tool::PrepareCustomFolder(dictionaries_);
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
