// The checker object behind the public TSpellerCheck interface.
#ifndef SPELLCHECK_CHECKER_SPELLERCHECK_H
#define SPELLCHECK_CHECKER_SPELLERCHECK_H

#include <spellcheck/SpellCheck.h>

#include <array>
#include <new>
#include <string>

#include "store/FileSystem.h"

namespace spellcheck {

// The library's constant default names.
extern const char* const DefaultMainDicName;  // "main.dic"
extern const char* const DefaultCustDicName;  // "cust.dic"

// The host's text as an owned string; a null pointer is the empty text.
inline std::string OwnedText(const char* text) {
  return text ? std::string(text) : std::string();
}

// `name`, or the field's name when `name` is the default marker.
inline std::string ResolveDic(const char* name, const char* field) {
  return OwnedText(IsDefaultMarker(name) ? field : name);
}

// Runs one operation, turning the standard library's lack of memory into the
// library's own error.
template <class Operation>
decltype(auto) GuardMemory(Operation&& operation) {
  try {
    return operation();
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory();
  }
}

class SpellerCheck final : public TSpellerCheck {
 public:
  SpellerCheck() : SpellerCheck(store::FileSystem::Default()) {}
  // Tests hand in a file system of their own (a fault-injecting one).
  explicit SpellerCheck(store::FileSystem& fs) : fs_(fs) {}

  const char* GetMainDic() override { return FMainDic; }
  void SetMainDic(const char* Name) override { FMainDic = Name; }
  const char* GetCustDic() override { return FCustDic; }
  void SetCustDic(const char* Name) override { FCustDic = Name; }

  bool CheckWord(const char* Word, bool UseExtra, bool IgnoreCase, const char* MainDic,
                 const char* Dic1, const char* Dic2, const char* Dic3, const char* Dic4,
                 const char* Dic5, const char* Dic6, const char* Dic7, const char* Dic8,
                 const char* Dic9, const char* Dic10) override;
  const char* SuggestWords(const char* Word, bool UseExtra, bool IgnoreCase, const char* MainDic,
                           const char* Dic1, const char* Dic2, const char* Dic3, const char* Dic4,
                           const char* Dic5, const char* Dic6, const char* Dic7, const char* Dic8,
                           const char* Dic9, const char* Dic10) override;
  bool AddWord(const char* Word, const char* Dic) override;
  bool DeleteWord(const char* Word, bool UseSecond, bool IgnoreCase, const char* Dic,
                  const char* SecondDic) override;
  bool MergeDictionary(const char* SourceDic, const char* TargetDic) override;

 private:
  // The names the operations use. A field set to the default marker cannot
  // be read as a text; it stands for the library's default name.
  const char* MainName() const { return IsDefaultMarker(FMainDic) ? DefaultMainDicName : FMainDic; }
  const char* CustName() const { return IsDefaultMarker(FCustDic) ? DefaultCustDicName : FCustDic; }

  const char* FMainDic = DefaultMainDicName;
  const char* FCustDic = DefaultCustDicName;
  store::FileSystem& fs_;
  std::string suggestions_;  // the text SuggestWords last handed out
};

}  // namespace spellcheck

#endif
