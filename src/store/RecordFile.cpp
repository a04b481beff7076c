#include "store/RecordFile.h"

#include <spellcheck/SpellCheck.h>

#include <limits>

namespace spellcheck::store {

void Raise(IoCode code) {
  throw EInOutError(code);
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
  if (const IoCode rc = file_->Read(&record, RecordSize, got); rc != code::Ok) return rc;
  return got == RecordSize ? code::Ok : code::ReadBeyondEnd;
}

IoCode RecordFile::ReadRecordAt(std::int64_t index, TvarWord& record) {
  if (!file_) return code::FileNotOpen;
  if (index < 0) return code::ReadBeyondEnd;
  std::size_t got = 0;
  const auto offset = static_cast<std::uint64_t>(index) * RecordSize;
  if (const IoCode rc = file_->ReadAt(offset, &record, RecordSize, got); rc != code::Ok) return rc;
  return got == RecordSize ? code::Ok : code::ReadBeyondEnd;
}

IoCode RecordFile::ReadRecords(std::vector<TvarWord>& records, std::size_t maxRecords) {
  records.resize(maxRecords);
  if (!file_) {
    records.clear();
    return code::FileNotOpen;
  }
  std::size_t got = 0;
  const IoCode rc = file_->Read(records.data(), maxRecords * RecordSize, got);
  records.resize(rc == code::Ok ? got / RecordSize : 0);
  return rc;
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
  if (const IoCode rc = file_->ReadAt(0, records.data(), want, got); rc != code::Ok) return rc;
  if (got != want) {
    records.clear();
    return code::ReadBeyondEnd;
  }
  return code::Ok;
}

IoCode RecordFile::WriteRecord(const TvarWord& record) {
  if (!file_) return code::AccessDenied;
  std::size_t put = 0;
  if (const IoCode rc = file_->Write(&record, RecordSize, put); rc != code::Ok) return rc;
  return put == RecordSize ? code::Ok : code::DiskFull;
}

IoCode RecordFile::WriteAll(const std::vector<TvarWord>& records) {
  if (!file_) return code::AccessDenied;
  const auto* bytes = reinterpret_cast<const unsigned char*>(records.data());
  std::size_t left = records.size() * RecordSize;
  while (left != 0) {
    std::size_t put = 0;
    if (const IoCode rc = file_->Write(bytes, left, put); rc != code::Ok) return rc;
    if (put == 0) return code::DiskFull;
    bytes += put;
    left -= put;
  }
  return code::Ok;
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
