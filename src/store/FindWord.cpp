#include "store/ProbeSearch.h"
#include "store/RecordFile.h"
#include "store/WordList.h"

namespace spellcheck::store {

bool FindWord(FileSystem& fs, std::string_view word, const std::string& fileName, bool ignoreCase) {
  RecordFile file(fs);
  // The lookup only reads, so a read-only dictionary is consulted too.
  if (file.OpenExisting(fileName, Access::Read) != code::Ok) return false;
  const bool found = FindWordIn(file, word, ignoreCase);
  Check(file.Close());
  return found;
}

bool FindWordIn(RecordFile& file, std::string_view word, bool ignoreCase) {
  std::int64_t count = 0;
  Check(file.RecordCount(count));
  // A failed read ends the walk as if the file ended there.
  const auto fetch = [&file](std::int64_t index, TvarWord& record) {
    return file.ReadRecordAt(index, record) == code::Ok;
  };
  return ProbeSearch(count, fetch, word, ignoreCase);
}

}  // namespace spellcheck::store
