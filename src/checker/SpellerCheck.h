// The checker object behind the public TSpellerCheck interface: the one
// adapter between the host's nine operations and the engine. It resolves the
// default marker against the checker's two names, copies the host's texts,
// turns lack of memory into the library's error and keeps the text that
// SuggestWords hands out.
#ifndef SPELLCHECK_CHECKER_SPELLERCHECK_H
#define SPELLCHECK_CHECKER_SPELLERCHECK_H

#include <spellcheck/SpellCheck.h>

#include <chrono>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "engine/Engine.h"
#include "store/FileSystem.h"

namespace spellcheck {

// The library's constant default names.
extern const char* const DefaultMainDicName;  // "main.dic"
extern const char* const DefaultCustDicName;  // "cust.dic"

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
  // Opens the dictionary files on every call, as the library's checker
  // does, answering from what it read while they stay unchanged.
  SpellerCheck() : SpellerCheck(store::FileSystem::Default()) {}
  // Tests hand in a file system of their own (a fault-injecting one).
  explicit SpellerCheck(store::FileSystem& fs) : SpellerCheck(fs, engine::OpenEachCall(fs)) {}
  // Any other source of dictionary contents (kept in memory, say).
  SpellerCheck(store::FileSystem& fs, std::unique_ptr<engine::DictionarySource> source)
      : engine_(fs, std::move(source)) {}

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
  // The further dictionaries named up to the first default marker, `first`
  // standing in for Dic1.
  void Further(const char* first, const char* const (&rest)[9]);

  const char* FMainDic = DefaultMainDicName;
  const char* FCustDic = DefaultCustDicName;
  engine::Engine engine_;
  std::vector<std::string> further_;  // names of the current operation
  std::string suggestions_;           // the text SuggestWords last handed out
};

// A checker that keeps every dictionary it reads in memory and looks at the
// file again before each operation (`recheckAfter` zero) or once that long
// has passed since the last look; every answer is the checker object's.
std::unique_ptr<TSpellerCheck> CreateBatchSession(
    store::FileSystem& fs = store::FileSystem::Default(),
    std::chrono::nanoseconds recheckAfter = std::chrono::nanoseconds::zero());

}  // namespace spellcheck

#endif
