#include "store/RecordFile.h"

#include <spellcheck/SpellCheck.h>

#include <limits>

namespace spellcheck::store {

namespace {

// One read or write moves at most what the system allows in one call (Linux:
// a little under 2 GiB) and may move less; these go on until all has moved or
// the file ends.
IoCode ReadFully(File& file, std::uint64_t offset, void* buffer, std::size_t size,
                 std::size_t& got) {
  got = 0;
  auto* bytes = static_cast<unsigned char*>(buffer);
  while (got < size) {
    std::size_t n = 0;
    if (const IoCode rc = file.ReadAt(offset + got, bytes + got, size - got, n); rc != code::Ok) {
      return rc;
    }
    if (n == 0) break;
    got += n;
  }
  return code::Ok;
}

IoCode ReadOnward(File& file, void* buffer, std::size_t size, std::size_t& got) {
  got = 0;
  auto* bytes = static_cast<unsigned char*>(buffer);
  while (got < size) {
    std::size_t n = 0;
    if (const IoCode rc = file.Read(bytes + got, size - got, n); rc != code::Ok) return rc;
    if (n == 0) break;
    got += n;
  }
  return code::Ok;
}

}  // namespace

IoCode WriteFully(File& file, const void* buffer, std::size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(buffer);
  std::size_t left = size;
  while (left != 0) {
    std::size_t put = 0;
    if (const IoCode rc = file.Write(bytes, left, put); rc != code::Ok) return rc;
    if (put == 0) return code::DiskFull;
    bytes += put;
    left -= put;
  }
  return code::Ok;
}

IoCode WriteFullyAt(File& file, std::uint64_t offset, const void* buffer, std::size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(buffer);
  std::size_t done = 0;
  while (done < size) {
    std::size_t put = 0;
    if (const IoCode rc = file.WriteAt(offset + done, bytes + done, size - done, put);
        rc != code::Ok) {
      return rc;
    }
    if (put == 0) return code::DiskFull;
    done += put;
  }
  return code::Ok;
}

IoCode ReadFullyAt(File& file, std::uint64_t offset, void* buffer, std::size_t size,
                   std::size_t& got) {
  return ReadFully(file, offset, buffer, size, got);
}

void Raise(IoCode code) {
  throw EInOutError(code.Code());
}

void Check(IoCode code) {
  if (code != code::Ok) Raise(code);
}

IoCode RecordFile::Open(const std::string& name, Access access, Disposition disposition) {
  file_.reset();
  return fs_.Open(name, access, disposition, file_);
}

IoCode RecordFile::OpenExisting(const std::string& name, Access access) {
  return Open(name, access, Disposition::OpenExisting);
}

IoCode RecordFile::Create(const std::string& name) {
  return Open(name, Access::ReadWrite, Disposition::CreateAlways);
}

IoCode RecordFile::RecordCount(std::int64_t& count) {
  count = 0;
  if (!file_) return code::FileNotOpen;
  std::uint64_t bytes = 0;
  if (const IoCode rc = file_->Size(bytes); rc != code::Ok) return rc;
  count = static_cast<std::int64_t>(bytes / RecordSize);
  return code::Ok;
}

IoCode RecordFile::Seek(std::int64_t record) {
  if (!file_) return code::FileNotOpen;
  if (record < 0) return code::ReadBeyondEnd;
  return file_->Seek(static_cast<std::uint64_t>(record) * RecordSize);
}

IoCode RecordFile::ReadRecord(TvarWord& record) {
  if (!file_) return code::FileNotOpen;
  std::size_t got = 0;
  if (const IoCode rc = ReadOnward(*file_, &record, RecordSize, got); rc != code::Ok) return rc;
  return got == RecordSize ? code::Ok : code::ReadBeyondEnd;
}

IoCode RecordFile::ReadRecordAt(std::int64_t index, TvarWord& record) {
  if (!file_) return code::FileNotOpen;
  if (index < 0) return code::ReadBeyondEnd;
  std::size_t got = 0;
  const auto offset = static_cast<std::uint64_t>(index) * RecordSize;
  if (const IoCode rc = ReadFully(*file_, offset, &record, RecordSize, got); rc != code::Ok) {
    return rc;
  }
  return got == RecordSize ? code::Ok : code::ReadBeyondEnd;
}

IoCode RecordFile::ReadAll(std::vector<TvarWord>& records) {
  records.clear();
  std::int64_t count = 0;
  if (const IoCode rc = RecordCount(count); rc != code::Ok) return rc;
  if (static_cast<std::uint64_t>(count) > std::numeric_limits<std::size_t>::max() / RecordSize) {
    return code::ReadBeyondEnd;
  }
  records.resize(static_cast<std::size_t>(count));
  if (count == 0) return code::Ok;
  const std::size_t want = records.size() * RecordSize;
  std::size_t got = 0;
  if (const IoCode rc = ReadFully(*file_, 0, records.data(), want, got); rc != code::Ok) {
    records.clear();
    return rc;
  }
  if (got != want) {
    records.clear();
    return code::ReadBeyondEnd;
  }
  return code::Ok;
}

IoCode RecordFile::WriteRecord(const TvarWord& record) {
  if (!file_) return code::AccessDenied;
  return WriteFully(*file_, &record, RecordSize);
}

IoCode RecordFile::WriteAll(const std::vector<TvarWord>& records) {
  if (!file_) return code::AccessDenied;
  return WriteFully(*file_, records.data(), records.size() * RecordSize);
}

IoCode RecordFile::Sync() {
  return file_ ? file_->Sync() : code::FileNotOpen;
}
IoCode RecordFile::SetMode(std::uint32_t mode) {
  return file_ ? file_->SetMode(mode) : code::FileNotOpen;
}
IoCode RecordFile::SetOwner(std::uint32_t owner, std::uint32_t group) {
  return file_ ? file_->SetOwner(owner, group) : code::FileNotOpen;
}
IoCode RecordFile::SetAttributes(const FileAttributes& attributes) {
  return file_ ? file_->SetAttributes(attributes) : code::FileNotOpen;
}
IoCode RecordFile::Lock() {
  return file_ ? file_->Lock() : code::FileNotOpen;
}
IoCode RecordFile::Info(FileInfo& info) {
  return file_ ? file_->Info(info) : code::FileNotOpen;
}

IoCode RecordFile::Close() {
  if (!file_) return code::FileNotOpen;
  std::unique_ptr<File> file = std::move(file_);
  return file->Close();
}

}  // namespace spellcheck::store
