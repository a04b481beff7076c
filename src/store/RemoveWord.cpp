#include "store/RecordEdits.h"
#include "store/Rewrite.h"
#include "store/WordList.h"
#include "store/WriterLock.h"

namespace spellcheck::store {

bool RemoveWord(FileSystem& fs, std::string_view word, const std::string& fileName,
                bool ignoreCase) {
  RecordFile file(fs);
  FileInfo info;
  // A dictionary that cannot be opened for writing is absent: nothing to remove.
  if (OpenLocked(fs, fileName, file, info) != code::Ok) return false;

  Records records;
  Check(file.ReadAll(records));
  // Only a word that the lookup finds is removed, then in every matching record.
  if (!ProbeRecords(records, word, ignoreCase)) {
    Check(file.Close());
    return false;
  }
  RemoveMatching(records, word, ignoreCase);
  if (records.empty()) {
    DeleteEmptied(fs, fileName, info);
  } else {
    ReplaceContents(fs, fileName, info, records);
  }
  Check(file.Close());
  return true;
}

}  // namespace spellcheck::store
