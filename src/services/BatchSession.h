// A checker for one run of a tool: the same nine operations with the same
// answers as the checker object, but every dictionary it reads stays in
// memory for the length of the run. Before each use the file's identity,
// size, permissions and modification time are compared with those it had
// when it was read, and it is read afresh when another process changed it.
// Writes go through the store as usual.
#ifndef SPELLCHECK_SERVICES_BATCHSESSION_H
#define SPELLCHECK_SERVICES_BATCHSESSION_H

#include <spellcheck/SpellCheck.h>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "services/LoadedDictionary.h"
#include "store/FileSystem.h"

namespace spellcheck {

class BatchSession final : public TSpellerCheck {
 public:
  explicit BatchSession(store::FileSystem& fs);

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
  };

  // The dictionary of that name as the file is now; null when the store
  // would find the file absent.
  const services::LoadedDictionary* Current(const std::string& fileName);
  // Within one operation each dictionary is checked once.
  const services::LoadedDictionary* CurrentInCall(const std::string& fileName);
  void Load(const std::string& fileName, Entry& entry);
  void Forget(const std::string& fileName) { entries_.erase(fileName); }

  const char* FMainDic;
  const char* FCustDic;
  store::FileSystem& fs_;
  std::string suggestions_;  // the text SuggestWords last handed out
  std::unordered_map<std::string, Entry> entries_;
  std::vector<std::pair<std::string, const services::LoadedDictionary*>> inCall_;
};

// A batch session on `fs` with the default dictionary names.
std::unique_ptr<TSpellerCheck> CreateBatchSession(
    store::FileSystem& fs = store::FileSystem::Default());

}  // namespace spellcheck

#endif
