#include "store/WriterLock.h"

#include <tuple>

#include "store/TempFile.h"

namespace spellcheck::store {

void GiveUpWriting() {
  Raise(code::SharingViolation);
}

IoCode OpenLocked(FileSystem& fs, const std::string& name, RecordFile& file, FileInfo& info) {
  for (int attempt = 0; attempt < MaxWriterAttempts; ++attempt) {
    if (const IoCode rc = file.OpenExisting(name, Access::ReadWrite); rc != code::Ok) return rc;
    Check(file.Lock());
    Check(file.Info(info));
    if (StillNamed(fs, name, info)) {
      RemoveLeftCopies(fs, name);
      return code::Ok;
    }
    // Replaced or deleted by the writer that held the lock before us; the
    // stale file was only read, so how its close ends does not matter.
    static_cast<void>(file.Close());
  }
  GiveUpWriting();
}

void RemoveLeftCopies(FileSystem& fs, const std::string& name) {
  // Copies are made beside the file that the name leads to.
  std::string target;
  if (fs.ResolveLinks(name, target) == code::Ok) RemoveStaleCopies(fs, target);
}

bool StillNamed(FileSystem& fs, const std::string& name, const FileInfo& locked) {
  FileInfo now;
  const IoCode rc = fs.Info(name, now);
  if (rc == code::FileNotFound) return false;
  Check(rc);
  return now.SameFile(locked);
}

void LockInOrder(RecordFile& a, const FileInfo& aInfo, RecordFile& b, const FileInfo& bInfo) {
  const bool aFirst = std::tie(aInfo.device, aInfo.inode) < std::tie(bInfo.device, bInfo.inode);
  RecordFile& first = aFirst ? a : b;
  RecordFile& second = aFirst ? b : a;
  Check(first.Lock());
  Check(second.Lock());
}

}  // namespace spellcheck::store
