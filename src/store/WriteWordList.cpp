#include "store/Rewrite.h"
#include "store/WordList.h"
#include "store/WriterLock.h"

namespace spellcheck::store {

void WriteWordList(FileSystem& fs, const std::string& fileName,
                   const std::vector<TvarWord>& records) {
  ChangeOrCreate(fs, fileName, records, [&](RecordFile&, const FileInfo& info) {
    ReplaceContents(fs, fileName, info, records);
    return true;
  });
}

}  // namespace spellcheck::store
