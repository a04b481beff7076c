#include "store/RecordEdits.h"
#include "store/Rewrite.h"
#include "store/WordList.h"
#include "store/WriterLock.h"

namespace spellcheck::store {

bool InsertWord(FileSystem& fs, std::string_view word, const std::string& fileName) {
  // An absent dictionary is made holding the word alone.
  return ChangeOrCreate(fs, fileName, {TvarWord::FromWord(word)},
                        [&](RecordFile& file, const FileInfo& info) {
                          Records records;
                          Check(file.ReadAll(records));
                          if (!InsertRecord(records, word)) return false;
                          ReplaceContents(fs, fileName, info, records);
                          return true;
                        });
}

}  // namespace spellcheck::store
