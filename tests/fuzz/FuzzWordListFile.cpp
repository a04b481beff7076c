// Arbitrary bytes as a dictionary file: the reader and every store operation
// must neither crash nor read past a record, and each keeps its promise on the
// file's records.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <spellcheck/SpellCheck.h>

#include "store/RecordFile.h"
#include "store/WordList.h"

namespace {

using namespace spellcheck::store;

std::string Folder() {
  static const std::string folder = [] {
    std::string pattern = "/dev/shm/spellcheck-fuzz-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
      pattern = "/tmp/spellcheck-fuzz-XXXXXX";
      if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    }
    return pattern;
  }();
  return folder;
}

void Write(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::int64_t Records(FileSystem& fs, const std::string& path) {
  RecordFile file(fs);
  if (file.OpenExisting(path, Access::Read) != code::Ok) return -1;
  std::int64_t n = 0;
  Check(file.RecordCount(n));
  return n;
}

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  FileSystem& fs = FileSystem::Default();
  // First byte: length of the word; then the word; the rest is the file.
  const std::size_t wordLength = std::min<std::size_t>(data[0] % 32, size - 1);
  const std::string word(reinterpret_cast<const char*>(data + 1), wordLength);
  const std::string bytes(reinterpret_cast<const char*>(data + 1 + wordLength),
                          size - 1 - wordLength);
  const std::string dic = Folder() + "/d.dic";
  const std::string other = Folder() + "/o.dic";
  const bool ignoreCase = (data[0] & 0x80) != 0;

  Write(dic, bytes);
  const std::int64_t before = static_cast<std::int64_t>(bytes.size() / RecordSize);

  std::vector<TvarWord> records;
  RecordFile reader(fs);
  Require(reader.OpenExisting(dic, Access::Read) == code::Ok);
  Require(reader.ReadAll(records) == code::Ok);
  Require(static_cast<std::int64_t>(records.size()) == before);
  for (const TvarWord& record : records) Require(record.Text().size() <= MaxWordLength);
  static_cast<void>(reader.Close());

  (void)FindWord(fs, word, dic, ignoreCase);

  // Insertion adds exactly one record, or leaves the file as it was.
  if (InsertWord(fs, word, dic)) {
    Require(Records(fs, dic) == before + 1);
  } else {
    Require(Records(fs, dic) == before);
  }

  // Removal takes records out, or deletes the file it empties.
  const std::int64_t beforeRemoval = Records(fs, dic);
  if (RemoveWord(fs, word, dic, ignoreCase)) {
    const std::int64_t after = Records(fs, dic);
    Require(after == -1 || after < beforeRemoval);
  } else {
    Require(Records(fs, dic) == beforeRemoval);
  }

  // Merging the fuzzed file into another moves every distinct word.
  Write(dic, bytes);
  ::unlink(other.c_str());
  Require(MergeWordList(fs, other, dic));
  Require(Records(fs, dic) == -1);
  Require(Records(fs, other) <= before);
  ::unlink(other.c_str());
  return 0;
}
