#include "checker/SpellerCheck.h"
#include "services/DictionaryWalks.h"
#include "store/WordList.h"

namespace spellcheck {

bool SpellerCheck::CheckWord(const char* Word, bool UseExtra, bool IgnoreCase, const char* MainDic,
                             const char* Dic1, const char* Dic2, const char* Dic3, const char* Dic4,
                             const char* Dic5, const char* Dic6, const char* Dic7, const char* Dic8,
                             const char* Dic9, const char* Dic10) {
  return GuardMemory([&] {
    const std::string word = OwnedText(Word);
    const auto further = services::FurtherForCheck(
        CustName(), {Dic1, Dic2, Dic3, Dic4, Dic5, Dic6, Dic7, Dic8, Dic9, Dic10});
    return services::CheckAcross(word, UseExtra, ResolveDic(MainDic, MainName()), further,
                                 [&](std::string_view form, const std::string& fileName) {
                                   return store::FindWord(fs_, form, fileName, IgnoreCase);
                                 });
  });
}

}  // namespace spellcheck
