#include "store/TextFile.h"

#include <limits>

#include "store/RecordFile.h"
#include "store/Rewrite.h"
#include "store/WriterLock.h"

namespace spellcheck::store {
namespace {

IoCode ReadOpen(File& file, std::string& bytes, FileInfo& info) {
  if (const IoCode rc = file.Info(info); rc != code::Ok) return rc;
  std::uint64_t size = 0;
  if (const IoCode rc = file.Size(size); rc != code::Ok) return rc;
  if (size > std::numeric_limits<std::size_t>::max() / 2) return code::ReadBeyondEnd;
  bytes.resize(static_cast<std::size_t>(size));
  std::size_t got = 0;
  if (const IoCode rc = ReadFullyAt(file, 0, bytes.data(), bytes.size(), got); rc != code::Ok) {
    return rc;
  }
  // Cut while it was read: what came is what it holds (and its size no longer
  // agrees with `info`, so it is never written back).
  bytes.resize(got);
  return code::Ok;
}

}  // namespace

IoCode ReadWholeFile(FileSystem& fs, const std::string& name, std::string& bytes, FileInfo& info) {
  bytes.clear();
  RecordFile file(fs);
  if (const IoCode rc = file.OpenExisting(name, Access::Read); rc != code::Ok) return rc;
  const IoCode rc = ReadOpen(*file.Raw(), bytes, info);
  const IoCode closed = file.Close();
  return rc != code::Ok ? rc : closed;
}

bool ReplaceIfUnchanged(FileSystem& fs, const std::string& name, const FileInfo& read,
                        std::string_view readBytes, std::string_view bytes) {
  RecordFile file(fs);
  FileInfo info;
  const IoCode opened = OpenLocked(fs, name, file, info);
  if (opened == code::FileNotFound) return false;
  Check(opened);
  if (!info.SameFile(read) || info.size != read.size || info.modifiedNs != read.modifiedNs) {
    return false;
  }
  // The same size and time, yet other bytes: a file system with coarse times.
  std::string now;
  FileInfo ignored;
  Check(ReadOpen(*file.Raw(), now, ignored));
  if (now != readBytes) return false;
  ReplaceBytes(fs, name, info, bytes);
  Check(file.Close());
  return true;
}

namespace {

// Each line of `bytes` without its ending ("\n" or "\r\n").
template <typename Each>
void ForEachLine(std::string_view bytes, Each each) {
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    each(line);
    start = end + 1;
  }
}

bool HoldsLine(std::string_view bytes, std::string_view wanted) {
  bool found = false;
  ForEachLine(bytes, [&](std::string_view line) { found = found || line == wanted; });
  return found;
}

// How often a change is tried again on a file that other writers keep changing.
constexpr int Attempts = 8;

}  // namespace

bool AddLine(FileSystem& fs, const std::string& name, std::string_view line) {
  for (int attempt = 0; attempt < Attempts; ++attempt) {
    std::string bytes;
    FileInfo info;
    const IoCode read = ReadWholeFile(fs, name, bytes, info);
    if (read == code::FileNotFound) {
      if (CreateBytes(fs, name, std::string(line) + "\n")) return true;
      continue;  // made by another writer meanwhile
    }
    Check(read);
    if (HoldsLine(bytes, line)) return false;
    std::string changed = bytes;
    if (!changed.empty() && changed.back() != '\n') changed += '\n';
    changed.append(line).append("\n");
    if (ReplaceIfUnchanged(fs, name, info, bytes, changed)) return true;
  }
  Raise(code::SharingViolation);
}

bool RemoveLine(FileSystem& fs, const std::string& name, std::string_view line) {
  for (int attempt = 0; attempt < Attempts; ++attempt) {
    std::string bytes;
    FileInfo info;
    const IoCode read = ReadWholeFile(fs, name, bytes, info);
    if (read == code::FileNotFound) return false;
    Check(read);
    if (!HoldsLine(bytes, line)) return false;
    std::string changed;
    ForEachLine(bytes, [&](std::string_view each) {
      if (each != line) changed.append(each).append("\n");
    });
    if (ReplaceIfUnchanged(fs, name, info, bytes, changed)) return true;
  }
  Raise(code::SharingViolation);
}

}  // namespace spellcheck::store
