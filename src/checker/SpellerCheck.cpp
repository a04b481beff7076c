#include "checker/SpellerCheck.h"

namespace spellcheck {
namespace {

// The host's text as an owned string; a null pointer is the empty text.
std::string OwnedText(const char* text) {
  return text ? std::string(text) : std::string();
}

// `name`, or the field's name when `name` is the default marker.
std::string ResolveDic(const char* name, const char* field) {
  return OwnedText(IsDefaultMarker(name) ? field : name);
}

}  // namespace

const char* const DefaultMainDicName = "main.dic";
const char* const DefaultCustDicName = "cust.dic";

void SpellerCheck::Further(const char* first, const char* const (&rest)[9]) {
  further_.clear();
  if (IsDefaultMarker(first)) return;
  further_.push_back(OwnedText(first));
  for (const char* name : rest) {
    if (IsDefaultMarker(name)) return;
    further_.push_back(OwnedText(name));
  }
}

bool SpellerCheck::CheckWord(const char* Word, bool UseExtra, bool IgnoreCase, const char* MainDic,
                             const char* Dic1, const char* Dic2, const char* Dic3, const char* Dic4,
                             const char* Dic5, const char* Dic6, const char* Dic7, const char* Dic8,
                             const char* Dic9, const char* Dic10) {
  return GuardMemory([&] {
    const std::string word = OwnedText(Word);
    // The further names are not even read unless asked for; a default Dic1
    // is always the custom dictionary here.
    further_.clear();
    if (UseExtra) {
      Further(IsDefaultMarker(Dic1) ? CustName() : Dic1,
              {Dic2, Dic3, Dic4, Dic5, Dic6, Dic7, Dic8, Dic9, Dic10});
    }
    return engine_.Check(word, ResolveDic(MainDic, MainName()), further_, IgnoreCase);
  });
}

// IgnoreCase has no effect on suggestions: the scan always compares exactly.
const char* SpellerCheck::SuggestWords(const char* Word, bool UseExtra, bool /*IgnoreCase*/,
                                       const char* MainDic, const char* Dic1, const char* Dic2,
                                       const char* Dic3, const char* Dic4, const char* Dic5,
                                       const char* Dic6, const char* Dic7, const char* Dic8,
                                       const char* Dic9, const char* Dic10) {
  return GuardMemory([&] {
    const std::string word = OwnedText(Word);
    // A default Dic1 is the custom dictionary only when the main dictionary
    // is the default too; otherwise it ends the list at once.
    further_.clear();
    if (UseExtra) {
      const bool custom = IsDefaultMarker(Dic1) && IsDefaultMarker(MainDic);
      Further(custom ? CustName() : Dic1, {Dic2, Dic3, Dic4, Dic5, Dic6, Dic7, Dic8, Dic9, Dic10});
    }
    std::string list =
        engine_.SuggestionText(word, ResolveDic(MainDic, MainName()), further_, UseExtra);
    // The text handed out stays valid until the next call on this checker.
    suggestions_ = std::move(list);
    return suggestions_.c_str();
  });
}

bool SpellerCheck::AddWord(const char* Word, const char* Dic) {
  return GuardMemory([&] { return engine_.Add(OwnedText(Word), ResolveDic(Dic, CustName())); });
}

bool SpellerCheck::DeleteWord(const char* Word, bool UseSecond, bool IgnoreCase, const char* Dic,
                              const char* SecondDic) {
  return GuardMemory([&] {
    const std::string word = OwnedText(Word);
    const bool removed = engine_.Remove(word, ResolveDic(Dic, MainName()), IgnoreCase);
    // The second dictionary is consulted only when asked for and only when the
    // first did not hold the word; an error in the first leaves it untouched.
    if (removed || !UseSecond) return removed;
    return engine_.Remove(word, ResolveDic(SecondDic, CustName()), IgnoreCase);
  });
}

bool SpellerCheck::MergeDictionary(const char* SourceDic, const char* TargetDic) {
  return GuardMemory([&] {
    return engine_.Merge(ResolveDic(TargetDic, MainName()), ResolveDic(SourceDic, CustName()));
  });
}

std::unique_ptr<TSpellerCheck> CreateBatchSession(store::FileSystem& fs,
                                                  std::chrono::nanoseconds recheckAfter) {
  return GuardMemory([&] {
    engine::Recheck recheck;
    if (recheckAfter > std::chrono::nanoseconds::zero()) {
      recheck = {engine::Recheck::When::After, recheckAfter};
    }
    return std::unique_ptr<TSpellerCheck>(new SpellerCheck(fs, engine::KeepInMemory(fs, recheck)));
  });
}

}  // namespace spellcheck

extern "C" SPELLCHECK_EXPORT spellcheck::TSpellerCheck* CreateSpellerCheck() {
  return spellcheck::GuardMemory([] { return new spellcheck::SpellerCheck(); });
}
