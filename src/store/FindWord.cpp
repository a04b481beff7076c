#include "store/RecordFile.h"
#include "store/WordList.h"

namespace spellcheck::store {

bool FindWord(FileSystem& fs, std::string_view word, const std::string& fileName,
              bool ignoreCase) {
  RecordFile file(fs);
  // The lookup only reads, so a read-only dictionary is consulted too.
  if (file.OpenExisting(fileName, Access::Read) != code::Ok) return false;

  std::int64_t count = 0;
  Check(file.RecordCount(count));

  bool found = false;
  std::int64_t low = 0;
  std::int64_t high = count - 1;
  // The probe runs at least once: a file without records costs one failing read.
  do {
    const std::int64_t middle = low + (high - low) / 2;
    TvarWord record;
    if (file.ReadRecordAt(middle, record) != code::Ok) break;  // ends the walk
    const std::string_view stored = record.Text();
    const int order = CompareText(stored, word);
    if (order == 0 || (ignoreCase && EqualIgnoringAsciiCase(stored, word))) {
      found = true;
    } else if (order > 0) {
      high = middle - 1;
    } else {
      low = middle + 1;
    }
  } while (!found && high >= low);

  Check(file.Close());
  return found;
}

}  // namespace spellcheck::store
