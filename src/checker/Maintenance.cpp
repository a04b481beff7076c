#include "checker/SpellerCheck.h"
#include "store/WordList.h"

namespace spellcheck {

bool SpellerCheck::AddWord(const char* Word, const char* Dic) {
  return GuardMemory(
      [&] { return store::InsertWord(fs_, OwnedText(Word), ResolveDic(Dic, CustName())); });
}

bool SpellerCheck::DeleteWord(const char* Word, bool UseSecond, bool IgnoreCase, const char* Dic,
                              const char* SecondDic) {
  return GuardMemory([&] {
    const std::string word = OwnedText(Word);
    const bool removed = store::RemoveWord(fs_, word, ResolveDic(Dic, MainName()), IgnoreCase);
    // The second dictionary is consulted only when asked for and only when the
    // first did not hold the word; an error in the first leaves it untouched.
    if (removed || !UseSecond) return removed;
    return store::RemoveWord(fs_, word, ResolveDic(SecondDic, CustName()), IgnoreCase);
  });
}

bool SpellerCheck::MergeDictionary(const char* SourceDic, const char* TargetDic) {
  return GuardMemory([&] {
    return store::MergeWordList(fs_, ResolveDic(TargetDic, MainName()),
                                ResolveDic(SourceDic, CustName()));
  });
}

}  // namespace spellcheck
