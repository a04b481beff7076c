// A new file beside a dictionary that receives the dictionary's next contents
// before it takes the dictionary's name. Where the platform can, it has no
// name at all until then, so that even a writer killed half-way leaves
// nothing behind; otherwise it has a hidden name of its own, ".NAME.xxxxxxxxxx"
// (ten random letters and digits), or, when that would be too long a name,
// ".HASH.xxxxxxxxxx" with a hash of NAME in hexadecimal. It stays locked from
// its making until it has the dictionary's name, so that a hidden copy that
// no one holds locked was left by a writer that died, and may go. Until it has
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

  // Makes an empty file, locked, without a name or under an unused hidden
  // name in the folder of `sibling`. InvalidFilename, with nothing made, when
  // it needs a hidden name and none fits (HiddenNameFits).
  IoCode Create(const std::string& sibling);
  RecordFile& File() { return file_; }
  // Puts the file in place of `target` in one step, then closes it. Needs a
  // hidden name beside `target` also for a file made without one.
  IoCode Replace(const std::string& target);
  // Gives the file the name `target`, only when no file has it
  // (AlreadyExists), then closes it.
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

// Whether a hidden name beside `sibling` fits the longest name that the store
// uses.
bool HiddenNameFits(const std::string& sibling);

// Deletes the hidden copies of the dictionary `name` that writers killed
// half-way left behind: those of its own pattern that no writer holds locked.
// Called by a writer that holds the dictionary locked. Failures are passed
// over: a copy that cannot be had now goes another time.
void RemoveStaleCopies(FileSystem& fs, const std::string& name);

}  // namespace spellcheck::store

#endif
