#include "services/SimilarWords.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "services/SimilarWordFilter.h"
#include "store/RecordFile.h"

namespace spellcheck::services {

namespace {

// Records per read: large enough that system calls cost little, small enough
// to stay in the cache and to bound memory whatever the dictionary's size.
constexpr std::size_t BlockRecords = 4096;

// Reads up to `wanted` records at the file's position into `block`, going on
// after a short read; stops at the end of the file. Answers the number of
// whole records that came, and the failure code of the read that failed.
std::size_t ReadBlock(store::File& file, std::vector<store::TvarWord>& block, std::size_t wanted,
                      store::IoCode& failure) {
  auto* bytes = reinterpret_cast<unsigned char*>(block.data());
  const std::size_t want = wanted * store::RecordSize;
  std::size_t have = 0;
  failure = store::code::Ok;
  while (have < want) {
    std::size_t got = 0;
    failure = file.Read(bytes + have, want - have, got);
    if (failure != store::code::Ok || got == 0) break;
    have += got;
  }
  return have / store::RecordSize;
}

}  // namespace

void CollectSimilar(store::FileSystem& fs, std::string_view word, const std::string& fileName,
                    std::vector<std::string>& result) {
  if (word.empty()) return;
  store::RecordFile file(fs);
  // The scan only reads, so a read-only dictionary is consulted too.
  if (file.OpenExisting(fileName, store::Access::Read) != store::code::Ok) return;
  CollectSimilarIn(file, word, result);
  store::Check(file.Close());
}

void CollectSimilarIn(store::RecordFile& file, std::string_view word,
                      std::vector<std::string>& result) {
  if (word.empty()) return;
  const SimilarWordFilter filter(word);
  std::int64_t count = 0;
  store::Check(file.RecordCount(count));

  // Only the records counted at the start are read; a trailing piece of fewer
  // than 25 bytes is no record.
  auto left = static_cast<std::uint64_t>(count);
  std::vector<store::TvarWord> block(
      static_cast<std::size_t>(std::min<std::uint64_t>(left, BlockRecords)));
  std::uint64_t first = 0;  // index of the block's first record
  while (left != 0) {
    const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(left, BlockRecords));
    store::IoCode failure = store::code::Ok;
    const std::size_t got = ReadBlock(*file.Raw(), block, wanted, failure);
    if (failure != store::code::Ok) {
      // A failed read ends the scan after the last record that can be read by
      // itself, as a scan of single records would have ended.
      for (std::size_t i = 0; i < wanted; ++i) {
        store::TvarWord record;
        if (file.ReadRecordAt(static_cast<std::int64_t>(first + i), record) != store::code::Ok)
          break;
        filter.Consider(record, result);
      }
      break;
    }
    filter.ConsiderAll(block.data(), got, result);
    if (got < wanted) break;  // the file ended early: the walk ends there
    left -= got;
    first += got;
  }
}

}  // namespace spellcheck::services
