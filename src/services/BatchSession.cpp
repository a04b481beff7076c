#include "services/BatchSession.h"

#include <chrono>

#include "checker/SpellerCheck.h"
#include "services/DictionaryWalks.h"
#include "store/RecordFile.h"
#include "store/WordList.h"

namespace spellcheck {

namespace {

// A file changed less than this long before it was read may change again
// within the same tick of the file system's clock, unseen by its time stamp;
// such a file is read afresh at every use until it has been quiet that long.
constexpr std::int64_t QuietNs = 1'000'000'000;

bool Unchanged(const store::FileInfo& a, const store::FileInfo& b) {
  return a.SameFile(b) && a.size == b.size && a.modifiedNs == b.modifiedNs && a.mode == b.mode;
}

bool ChangedRecently(const store::FileInfo& info) {
  const std::int64_t now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                               std::chrono::system_clock::now().time_since_epoch())
                               .count();
  return info.modifiedNs > now - QuietNs;
}

}  // namespace

BatchSession::BatchSession(store::FileSystem& fs, std::chrono::nanoseconds recheckAfter)
    : FMainDic(DefaultMainDicName),
      FCustDic(DefaultCustDicName),
      fs_(fs),
      recheckAfter_(recheckAfter) {}

const services::LoadedDictionary* BatchSession::Current(const std::string& fileName) {
  const auto checkTime = std::chrono::steady_clock::now();
  if (recheckAfter_ > std::chrono::nanoseconds::zero()) {
    const auto found = entries_.find(fileName);
    if (found != entries_.end() && !found->second.racy &&
        checkTime - found->second.checkedAt < recheckAfter_) {
      return found->second.dictionary.get();
    }
  }
  store::FileInfo now;
  if (fs_.Info(fileName, now) != store::code::Ok) {
    // Gone (or unreachable): the store would find no dictionary.
    entries_.erase(fileName);
    return nullptr;
  }
  Entry& entry = entries_[fileName];
  if (entry.racy || !Unchanged(entry.info, now)) Load(fileName, entry);
  entry.checkedAt = checkTime;
  return entry.dictionary.get();
}

void BatchSession::Load(const std::string& fileName, Entry& entry) {
  // Until the reading succeeds the entry matches no file.
  entry = Entry{};
  entry.racy = true;
  store::RecordFile file(fs_);
  store::FileInfo info;
  if (file.OpenExisting(fileName, store::Access::Read) != store::code::Ok) {
    // Absent for the store as long as the file stays as it is.
    if (fs_.Info(fileName, info) == store::code::Ok) {
      entry.info = info;
      entry.racy = ChangedRecently(info);
    }
    return;
  }
  store::Check(file.Info(info));
  auto dictionary = services::LoadedDictionary::Read(*file.Raw(), info);
  store::Check(file.Close());
  entry.dictionary = std::move(dictionary);
  entry.info = info;
  entry.racy = ChangedRecently(info);
}

const services::LoadedDictionary* BatchSession::CurrentInCall(const std::string& fileName) {
  for (std::size_t i = 0; i < inCallCount_; ++i) {
    if (inCall_[i].name == fileName) return inCall_[i].dictionary;
  }
  const services::LoadedDictionary* dictionary = Current(fileName);
  if (inCallCount_ < inCall_.size()) {
    inCall_[inCallCount_].name.assign(fileName);
    inCall_[inCallCount_].dictionary = dictionary;
    ++inCallCount_;
  }
  return dictionary;
}

bool BatchSession::CheckWord(const char* Word, bool UseExtra, bool IgnoreCase, const char* MainDic,
                             const char* Dic1, const char* Dic2, const char* Dic3, const char* Dic4,
                             const char* Dic5, const char* Dic6, const char* Dic7, const char* Dic8,
                             const char* Dic9, const char* Dic10) {
  return GuardMemory([&] {
    inCallCount_ = 0;
    const std::string word = OwnedText(Word);
    const auto further = services::FurtherForCheck(
        CustName(), {Dic1, Dic2, Dic3, Dic4, Dic5, Dic6, Dic7, Dic8, Dic9, Dic10});
    const char* mainDic = IsDefaultMarker(MainDic) ? MainName() : MainDic;
    mainName_.assign(mainDic != nullptr ? mainDic : "");
    return services::CheckAcross(word, UseExtra, mainName_, further,
                                 [&](std::string_view form, const std::string& fileName) {
                                   const auto* dictionary = CurrentInCall(fileName);
                                   return dictionary != nullptr &&
                                          dictionary->Find(form, IgnoreCase);
                                 });
  });
}

const char* BatchSession::SuggestWords(const char* Word, bool UseExtra, bool /*IgnoreCase*/,
                                       const char* MainDic, const char* Dic1, const char* Dic2,
                                       const char* Dic3, const char* Dic4, const char* Dic5,
                                       const char* Dic6, const char* Dic7, const char* Dic8,
                                       const char* Dic9, const char* Dic10) {
  return GuardMemory([&] {
    inCallCount_ = 0;
    const std::string word = OwnedText(Word);
    const auto further = services::FurtherForSuggestions(
        MainDic, CustName(), {Dic1, Dic2, Dic3, Dic4, Dic5, Dic6, Dic7, Dic8, Dic9, Dic10});
    std::string list = services::SuggestAcross(
        word, UseExtra, ResolveDic(MainDic, MainName()), further,
        [&](std::string_view sought, const std::string& fileName) {
          const auto* dictionary = CurrentInCall(fileName);
          return dictionary != nullptr ? dictionary->CollectSimilar(sought) : std::string();
        });
    suggestions_ = std::move(list);
    return suggestions_.c_str();
  });
}

// Writes go to the files through the store; the copies of the files written
// are dropped first, so that they are read afresh at their next use.
bool BatchSession::AddWord(const char* Word, const char* Dic) {
  return GuardMemory([&] {
    const std::string fileName = ResolveDic(Dic, CustName());
    Forget(fileName);
    return store::InsertWord(fs_, OwnedText(Word), fileName);
  });
}

bool BatchSession::DeleteWord(const char* Word, bool UseSecond, bool IgnoreCase, const char* Dic,
                              const char* SecondDic) {
  return GuardMemory([&] {
    const std::string word = OwnedText(Word);
    const std::string first = ResolveDic(Dic, MainName());
    Forget(first);
    const bool removed = store::RemoveWord(fs_, word, first, IgnoreCase);
    if (removed || !UseSecond) return removed;
    const std::string second = ResolveDic(SecondDic, CustName());
    Forget(second);
    return store::RemoveWord(fs_, word, second, IgnoreCase);
  });
}

bool BatchSession::MergeDictionary(const char* SourceDic, const char* TargetDic) {
  return GuardMemory([&] {
    const std::string target = ResolveDic(TargetDic, MainName());
    const std::string source = ResolveDic(SourceDic, CustName());
    Forget(target);
    Forget(source);
    return store::MergeWordList(fs_, target, source);
  });
}

std::unique_ptr<TSpellerCheck> CreateBatchSession(store::FileSystem& fs,
                                                  std::chrono::nanoseconds recheckAfter) {
  return GuardMemory(
      [&] { return std::unique_ptr<TSpellerCheck>(new BatchSession(fs, recheckAfter)); });
}

}  // namespace spellcheck
