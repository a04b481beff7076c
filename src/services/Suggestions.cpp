#include "checker/SpellerCheck.h"
#include "services/DictionaryWalks.h"
#include "services/SimilarWords.h"

namespace spellcheck {

// IgnoreCase has no effect on suggestions: the scan always compares exactly.
const char* SpellerCheck::SuggestWords(const char* Word, bool UseExtra, bool /*IgnoreCase*/,
                                       const char* MainDic, const char* Dic1, const char* Dic2,
                                       const char* Dic3, const char* Dic4, const char* Dic5,
                                       const char* Dic6, const char* Dic7, const char* Dic8,
                                       const char* Dic9, const char* Dic10) {
  return GuardMemory([&] {
    const std::string word = OwnedText(Word);
    const auto further = services::FurtherForSuggestions(
        MainDic, CustName(), {Dic1, Dic2, Dic3, Dic4, Dic5, Dic6, Dic7, Dic8, Dic9, Dic10});
    std::string list =
        services::SuggestAcross(word, UseExtra, ResolveDic(MainDic, MainName()), further,
                                [&](std::string_view sought, const std::string& fileName) {
                                  return services::CollectSimilar(fs_, sought, fileName);
                                });
    // The text handed out stays valid until the next call on this checker.
    suggestions_ = std::move(list);
    return suggestions_.c_str();
  });
}

}  // namespace spellcheck
