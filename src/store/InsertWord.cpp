#include "store/RecordEdits.h"
#include "store/Rewrite.h"
#include "store/WordList.h"
#include "store/WriterLock.h"

namespace spellcheck::store {

bool InsertWord(FileSystem& fs, std::string_view word, const std::string& fileName) {
  bool nameTaken = false;
  for (int attempt = 0; attempt < MaxWriterAttempts; ++attempt) {
    RecordFile file(fs);
    FileInfo info;
    const IoCode opened = OpenLocked(fs, fileName, file, info);
    if (opened == code::Ok) {
      Records records;
      Check(file.ReadAll(records));
      if (!InsertRecord(records, word)) {
        Check(file.Close());
        return false;
      }
      ReplaceContents(fs, fileName, info, records);
      Check(file.Close());
      return true;
    }
    // A file that is there but cannot be opened for writing is refused with
    // the open's code, just as making it anew would be; it is never replaced.
    if (nameTaken && opened != code::FileNotFound) Raise(opened);
    // An absent dictionary is made holding the word alone.
    if (CreateContents(fs, fileName, {TvarWord::FromWord(word)})) return true;
    nameTaken = true;
  }
  GiveUpWriting();
}

}  // namespace spellcheck::store
