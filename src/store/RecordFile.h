// A word-list file object: the steps of the store on a file of 25-byte
// records, with the store's codes for short reads and writes and for steps on
// a file that is not open. Closes itself (ignoring the outcome) when destroyed.
#ifndef SPELLCHECK_STORE_RECORDFILE_H
#define SPELLCHECK_STORE_RECORDFILE_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "store/FileSystem.h"
#include "store/TvarWord.h"

namespace spellcheck::store {

class RecordFile {
 public:
  explicit RecordFile(FileSystem& fs) : fs_(fs) {}
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;

  // Opens an existing file; the position is record 0.
  IoCode OpenExisting(const std::string& name, Access access = Access::ReadWrite);
  // Creates the file, or truncates an existing one; read and write access.
  IoCode Create(const std::string& name);
  // Opens with any disposition (used by writers that lock and replace files).
  IoCode Open(const std::string& name, Access access, Disposition disposition);
  // Takes over an already open file.
  void Adopt(std::unique_ptr<File> file) { file_ = std::move(file); }

  bool IsOpen() const { return file_ != nullptr; }
  File* Raw() { return file_.get(); }

  // Whole records: the size divided by 25, rounded down.
  IoCode RecordCount(std::int64_t& count);
  IoCode Seek(std::int64_t record);
  // 100 when fewer than 25 bytes came.
  IoCode ReadRecord(TvarWord& record);
  // Record `index` in one positioned read; 100 when fewer than 25 bytes came.
  IoCode ReadRecordAt(std::int64_t index, TvarWord& record);
  // All whole records from record 0; 100 when fewer came than counted.
  IoCode ReadAll(std::vector<TvarWord>& records);
  // 101 when fewer than 25 bytes went.
  IoCode WriteRecord(const TvarWord& record);
  // All records from the position; 101 when the file takes no more.
  IoCode WriteAll(const std::vector<TvarWord>& records);
  IoCode Sync();
  IoCode SetMode(std::uint32_t mode);
  IoCode SetOwner(std::uint32_t owner, std::uint32_t group);
  IoCode SetAttributes(const FileAttributes& attributes);
  IoCode Lock();
  IoCode Info(FileInfo& info);
  // The file object is closed afterwards even when the close fails.
  IoCode Close();

 private:
  FileSystem& fs_;
  std::unique_ptr<File> file_;
};

// `size` bytes from `offset`, in as many steps as the system takes; fewer
// only where the file ends.
IoCode ReadFullyAt(File& file, std::uint64_t offset, void* buffer, std::size_t size,
                   std::size_t& got);
// `size` bytes at `offset`, in as many steps as the system takes; 101 when
// the file takes no more.
IoCode WriteFullyAt(File& file, std::uint64_t offset, const void* buffer, std::size_t size);

// `size` bytes from the file's position, in as many steps as the system
// takes; 101 when the file takes no more.
IoCode WriteFully(File& file, const void* buffer, std::size_t size);

// Raises EInOutError with `code` unless it is 0.
void Check(IoCode code);
[[noreturn]] void Raise(IoCode code);

}  // namespace spellcheck::store

#endif
