#include "store/Rewrite.h"
#include "store/WordList.h"
#include "store/WriterLock.h"

namespace spellcheck::store {

void WriteWordList(FileSystem& fs, const std::string& fileName,
                   const std::vector<TvarWord>& records) {
  bool nameTaken = false;
  for (int attempt = 0; attempt < MaxWriterAttempts; ++attempt) {
    RecordFile file(fs);
    FileInfo info;
    const IoCode opened = OpenLocked(fs, fileName, file, info);
    if (opened == code::Ok) {
      ReplaceContents(fs, fileName, info, records);
      Check(file.Close());
      return;
    }
    // A file that is there but cannot be opened for writing is refused with
    // the open's code; it is never replaced.
    if (nameTaken && opened != code::FileNotFound) Raise(opened);
    if (CreateContents(fs, fileName, records)) return;
    nameTaken = true;
  }
  GiveUpWriting();
}

}  // namespace spellcheck::store
