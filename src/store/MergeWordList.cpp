#include "store/RecordEdits.h"
#include "store/Rewrite.h"
#include "store/WordList.h"
#include "store/WriterLock.h"

namespace spellcheck::store {
namespace {

enum class Outcome { Done, StartAgain };

// Moves the words while both files (or the source alone, when the target is
// absent) are locked. Writes the target once, with the outcome of inserting
// every source word in order; the source goes only after that succeeded.
Outcome MoveWords(FileSystem& fs, const std::string& targetFile, RecordFile* target,
                  const FileInfo& targetInfo, const std::string& sourceFile, RecordFile& source) {
  Records words;
  Check(source.ReadAll(words));
  if (!words.empty()) {
    Records merged;
    if (target != nullptr) {
      Check(target->ReadAll(merged));
      if (MergeRecords(merged, words)) ReplaceContents(fs, targetFile, targetInfo, merged);
      Check(target->Close());
    } else {
      MergeRecords(merged, words);
      if (!CreateContents(fs, targetFile, merged)) return Outcome::StartAgain;
    }
  }
  // Deleted while still locked, so no writer adds a word that then goes with
  // it. Neither the deletion nor the close of the deleted file is looked at.
  static_cast<void>(fs.Delete(sourceFile));
  static_cast<void>(source.Close());
  return Outcome::Done;
}

}  // namespace

bool MergeWordList(FileSystem& fs, const std::string& targetFile, const std::string& sourceFile) {
  bool targetNameTaken = false;
  for (int attempt = 0; attempt < MaxWriterAttempts; ++attempt) {
    RecordFile source(fs);
    if (source.OpenExisting(sourceFile, Access::ReadWrite) != code::Ok) return false;
    FileInfo sourceInfo;
    Check(source.Info(sourceInfo));

    RecordFile target(fs);
    FileInfo targetInfo;
    const IoCode targetOpened = target.OpenExisting(targetFile, Access::ReadWrite);
    if (targetOpened == code::Ok) {
      Check(target.Info(targetInfo));
      // One file by two names: moving its words into itself and then
      // deleting it would lose them all.
      if (targetInfo.SameFile(sourceInfo)) {
        Check(target.Close());
        Check(source.Close());
        return false;
      }
      LockInOrder(source, sourceInfo, target, targetInfo);
      if (!StillNamed(fs, targetFile, targetInfo)) continue;
    } else {
      // A target that is there but refuses writing is refused as making it would be.
      if (targetNameTaken && targetOpened != code::FileNotFound) Raise(targetOpened);
      Check(source.Lock());
    }
    if (!StillNamed(fs, sourceFile, sourceInfo)) continue;
    if (targetOpened == code::Ok) RemoveLeftCopies(fs, targetFile);

    RecordFile* openTarget = targetOpened == code::Ok ? &target : nullptr;
    if (MoveWords(fs, targetFile, openTarget, targetInfo, sourceFile, source) == Outcome::Done) {
      return true;
    }
    targetNameTaken = true;
  }
  GiveUpWriting();
}

}  // namespace spellcheck::store
