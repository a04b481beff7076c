// A new file beside a dictionary that receives the dictionary's next contents
// before it takes the dictionary's name. Until it has taken a name it is
// closed and deleted when the object goes, also when an error passes.
#ifndef SPELLCHECK_STORE_TEMPFILE_H
#define SPELLCHECK_STORE_TEMPFILE_H

#include <string>

#include "store/FileSystem.h"
#include "store/RecordFile.h"

namespace spellcheck::store {

class TempFile {
 public:
  explicit TempFile(FileSystem& fs) : fs_(fs), file_(fs) {}
  ~TempFile();
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  // Makes an empty file under an unused name in the folder of `sibling`.
  IoCode Create(const std::string& sibling);
  RecordFile& File() { return file_; }
  // Puts the file in place of `target` in one step.
  IoCode Replace(const std::string& target);
  // Gives the file the name `target` only when no file has it (AlreadyExists).
  IoCode TakeFreeName(const std::string& target);

 private:
  FileSystem& fs_;
  RecordFile file_;
  std::string name_;
};

}  // namespace spellcheck::store

#endif
