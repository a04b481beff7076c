// Helpers shared by the tests: a scratch folder, raw dictionary files, and a
// child process without root's privileges.
#ifndef SPELLCHECK_TESTS_TESTFILES_H
#define SPELLCHECK_TESTS_TESTFILES_H

#include <functional>
#include <string>
#include <vector>

namespace spellcheck::testing {

// A fresh folder, removed with its contents when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  // Names of the entries in the folder, sorted.
  std::vector<std::string> Entries() const;

 private:
  std::string path_;
};

// Writes `words` as records (zero filler) in the given order.
void WriteDictionary(const std::string& path, const std::vector<std::string>& words);
// The words of a dictionary file's whole records, in file order.
std::vector<std::string> ReadDictionary(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);
bool FileExists(const std::string& path);
// A record's 25 bytes for `word`, with the given filler byte.
std::string RecordBytes(const std::string& word, char filler = '\0');

// Runs `body` in a child process that has dropped root's privileges (to the
// user and group "nobody"), and returns its exit status (or -1 when the child
// did not exit normally). When the tests do not run as root, the child runs
// as the current user. On Windows there is nothing to drop: `body` runs in
// this process, and an exception out of it gives 127.
int RunUnprivileged(const std::function<int()>& body);

// Number of open file descriptors of this process (on Windows: of handles).
int OpenDescriptorCount();

}  // namespace spellcheck::testing

#endif
