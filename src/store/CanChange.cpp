#include "store/RecordFile.h"
#include "store/WordList.h"

namespace spellcheck::store {

IoCode CanChange(FileSystem& fs, const std::string& fileName) {
  RecordFile file(fs);
  if (const IoCode rc = file.OpenExisting(fileName, Access::ReadWrite); rc != code::Ok) return rc;
  return file.Close();
}

}  // namespace spellcheck::store
