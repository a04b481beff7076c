// A checker for one run of a tool: the same nine operations with the same
// answers as the checker object, but every dictionary it reads stays in
// memory for the length of the run. Before each use the file's identity,
// size, permissions and modification time are compared with those it had
// when it was read, and it is read afresh when another process changed it.
// Writes go through the store as usual. A session may be told to trust a
// file it has looked at for a while (`recheckAfter`) instead of looking
// before every use: a change is then seen within that time.
#ifndef SPELLCHECK_SERVICES_BATCHSESSION_H
#define SPELLCHECK_SERVICES_BATCHSESSION_H

#include <spellcheck/SpellCheck.h>

#include <array>
#include <chrono>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "checker/SpellerCheck.h"
#include "engine/LoadedDictionary.h"
#include "store/FileSystem.h"

namespace spellcheck {

class BatchSession final : public TSpellerCheck {
 public:
  explicit BatchSession(store::FileSystem& fs,
                        std::chrono::nanoseconds recheckAfter = std::chrono::nanoseconds::zero());

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
  struct Entry {
    store::FileInfo info;                                    // as seen by name when last checked
    std::unique_ptr<services::LoadedDictionary> dictionary;  // null: absent
    bool racy = false;  // changed too recently for its time stamp to be trusted
    std::chrono::steady_clock::time_point checkedAt;
  };
  // A dictionary already looked at in the current operation.
  struct InCall {
    std::string name;
    const services::LoadedDictionary* dictionary = nullptr;
  };

  // The dictionary of that name as the file is now; null when the store
  // would find the file absent.
  // A field set to the default marker stands for the library's default name.
  const char* MainName() const { return IsDefaultMarker(FMainDic) ? DefaultMainDicName : FMainDic; }
  const char* CustName() const { return IsDefaultMarker(FCustDic) ? DefaultCustDicName : FCustDic; }

  const services::LoadedDictionary* Current(const std::string& fileName);
  // Within one operation each dictionary is checked once.
  const services::LoadedDictionary* CurrentInCall(const std::string& fileName);
  void Load(const std::string& fileName, Entry& entry);
  void Forget(const std::string& fileName) { entries_.erase(fileName); }

  const char* FMainDic;
  const char* FCustDic;
  store::FileSystem& fs_;
  std::string suggestions_;  // the text SuggestWords last handed out
  std::chrono::nanoseconds recheckAfter_;
  std::unordered_map<std::string, Entry> entries_;
  // At most eleven dictionaries take part in one operation; the names keep
  // their memory from call to call.
  std::array<InCall, 11> inCall_;
  std::size_t inCallCount_ = 0;
  std::string mainName_;
};

// A batch session on `fs` with the default dictionary names. With the
// default `recheckAfter` every file is looked at before every use.
std::unique_ptr<TSpellerCheck> CreateBatchSession(
    store::FileSystem& fs = store::FileSystem::Default(),
    std::chrono::nanoseconds recheckAfter = std::chrono::nanoseconds::zero());

}  // namespace spellcheck

#endif
