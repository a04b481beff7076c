// A new file beside a dictionary that receives the dictionary's next contents
// before it takes the dictionary's name. Where the platform can, it has no
// name at all until then, so that even a writer killed half-way leaves
// nothing behind; otherwise it has a hidden name of its own. Until it has
// taken the dictionary's name it is closed and deleted when the object goes,
// also when an error passes.
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
  // Closes the file and puts it in place of `target` in one step.
  IoCode Replace(const std::string& target);
  // Closes the file and gives it the name `target`, only when no file has it
  // (AlreadyExists).
  IoCode TakeFreeName(const std::string& target);

 private:
  IoCode CreateNamed(const std::string& sibling);
  // Gives an unnamed file a hidden name beside `sibling`.
  IoCode NameBesideOf(const std::string& sibling);

  FileSystem& fs_;
  RecordFile file_;
  std::string name_;      // the hidden name, while the file has one
  bool unnamed_ = false;  // made without a name, and none given yet
};

}  // namespace spellcheck::store

#endif
