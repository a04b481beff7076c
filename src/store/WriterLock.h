// Writers of one dictionary exclude each other with an exclusive advisory
// lock on the file, held from before they read it until its new contents are
// in place. A writer puts new contents in place by renaming a new file over
// the name, so a writer that waited for the lock must make sure the name still
// leads to the file it locked, and start again when it does not. Readers take
// no lock: they see the old file or the new one, whole.
#ifndef SPELLCHECK_STORE_WRITERLOCK_H
#define SPELLCHECK_STORE_WRITERLOCK_H

#include <string>

#include "store/FileSystem.h"
#include "store/RecordEdits.h"
#include "store/RecordFile.h"
#include "store/Rewrite.h"

namespace spellcheck::store {

// How often a writer starts again because other writers keep replacing or
// making the file, before it gives up with a sharing violation.
inline constexpr int MaxWriterAttempts = 10000;
[[noreturn]] void GiveUpWriting();

// Opens the existing file `name` for reading and writing and holds the lock
// on it; then takes away the copies that killed writers left beside it. Answers the open's code
// when it cannot be opened (nothing is then held); raises on a failure once it is open.
IoCode OpenLocked(FileSystem& fs, const std::string& name, RecordFile& file, FileInfo& info);

// Takes away the hidden copies of the locked dictionary `name` that writers
// killed half-way left behind (RemoveStaleCopies).
void RemoveLeftCopies(FileSystem& fs, const std::string& name);

// Whether `name` still leads to the file described by `locked`.
bool StillNamed(FileSystem& fs, const std::string& name, const FileInfo& locked);

// The loop of every change that may have to make its dictionary: with
// `fileName` open and locked, answers `change(file, info)`; when no file has
// the name, makes it holding `created` and answers true. A file that is there
// but cannot be opened for writing is refused with the open's code, just as
// making it anew would be; it is never replaced.
template <class Change>
bool ChangeOrCreate(FileSystem& fs, const std::string& fileName, const Records& created,
                    Change&& change) {
  bool nameTaken = false;
  for (int attempt = 0; attempt < MaxWriterAttempts; ++attempt) {
    RecordFile file(fs);
    FileInfo info;
    const IoCode opened = OpenLocked(fs, fileName, file, info);
    if (opened == code::Ok) {
      const bool changed = change(file, info);
      Check(file.Close());
      return changed;
    }
    if (nameTaken && opened != code::FileNotFound) Raise(opened);
    if (CreateContents(fs, fileName, created)) return true;
    // Another writer made it first: change it as it now is.
    nameTaken = true;
  }
  GiveUpWriting();
}

// Locks two different open files in one order that every writer uses, so
// that two writers that each need both never wait for each other.
void LockInOrder(RecordFile& a, const FileInfo& aInfo, RecordFile& b, const FileInfo& bInfo);

}  // namespace spellcheck::store

#endif
