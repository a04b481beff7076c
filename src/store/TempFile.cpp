#include "store/TempFile.h"

#include <cstdint>
#include <random>
#include <string_view>
#include <vector>

namespace spellcheck::store {
namespace {

constexpr int MaxNameTries = 100;
#if defined(_WIN32)
constexpr const char* FolderSeparators = "/\\:";  // a drive's own folder too
#else
constexpr const char* FolderSeparators = "/";
#endif
constexpr std::size_t MaxNameComponent = 255;
constexpr std::size_t SuffixLength = 10;
constexpr char SuffixDigits[] = "abcdefghijklmnopqrstuvwxyz0123456789";

// Random rather than derived from the process, so that forked processes and
// threads never go after the same name twice.
std::string RandomSuffix() {
  std::random_device source;
  std::string suffix(SuffixLength, '0');
  for (char& c : suffix) c = SuffixDigits[source() % (sizeof SuffixDigits - 1)];
  return suffix;
}

struct Split {
  std::string folder;  // with its trailing separator, or empty
  std::string base;
};

Split SplitName(const std::string& name) {
  const auto slash = name.find_last_of(FolderSeparators);
  if (slash == std::string::npos) return {"", name};
  return {name.substr(0, slash + 1), name.substr(slash + 1)};
}

// FNV-1a: the same stem for the same name on every platform and in every run.
std::string HashOf(const std::string& text) {
  std::uint64_t hash = 14695981039346656037u;
  for (const unsigned char c : text) {
    hash ^= c;
    hash *= 1099511628211u;
  }
  static constexpr char hex[] = "0123456789abcdef";
  std::string digits(16, '0');
  for (int i = 15; i >= 0; --i, hash >>= 4) digits[static_cast<std::size_t>(i)] = hex[hash & 15];
  return digits;
}

bool Fits(const Split& parts, const std::string& stem) {
  const std::size_t component = stem.size() + 1 + SuffixLength;
  return component <= MaxNameComponent && parts.folder.size() + component <= MaxFileNameLength;
}

// The hidden names of a dictionary's copies are its stem, a dot and the
// random suffix; empty when no such name fits.
std::string StemOf(const Split& parts) {
  if (const std::string stem = "." + parts.base; Fits(parts, stem)) return stem;
  if (const std::string stem = "." + HashOf(parts.base); Fits(parts, stem)) return stem;
  return {};
}

std::string NameBeside(const std::string& sibling) {
  const Split parts = SplitName(sibling);
  return parts.folder + StemOf(parts) + "." + RandomSuffix();
}

bool IsCopyName(const std::string& entry, const std::string& stem) {
  if (entry.size() != stem.size() + 1 + SuffixLength) return false;
  if (entry.compare(0, stem.size(), stem) != 0 || entry[stem.size()] != '.') return false;
  for (std::size_t i = stem.size() + 1; i < entry.size(); ++i) {
    if (std::string_view(SuffixDigits).find(entry[i]) == std::string_view::npos) return false;
  }
  return true;
}

// A copy goes only while this writer holds its lock, and only when the name
// still leads to the locked file; one that another writer holds is passed.
void RemoveIfStale(FileSystem& fs, const std::string& copy) {
  std::string behind;
  if (fs.ResolveLinks(copy, behind) != code::Ok || behind != copy) return;  // no links
  RecordFile file(fs);
  if (file.OpenExisting(copy, Access::Read) != code::Ok) return;
  bool taken = false;
  if (file.Raw()->TryLock(taken) != code::Ok || !taken) return;
  FileInfo locked;
  FileInfo named;
  if (file.Info(locked) != code::Ok || fs.Info(copy, named) != code::Ok) return;
  if (!named.SameFile(locked)) return;
  static_cast<void>(fs.Delete(copy));
}

}  // namespace

bool HiddenNameFits(const std::string& sibling) {
  return !StemOf(SplitName(sibling)).empty();
}

void RemoveStaleCopies(FileSystem& fs, const std::string& name) {
  const Split parts = SplitName(name);
  const std::string stem = StemOf(parts);
  if (stem.empty()) return;
  std::vector<std::string> entries;
  if (fs.List(parts.folder.empty() ? "." : parts.folder, entries) != code::Ok) return;
  for (const std::string& entry : entries) {
    if (IsCopyName(entry, stem)) RemoveIfStale(fs, parts.folder + entry);
  }
}

TempFile::~TempFile() {
  if (file_.IsOpen()) static_cast<void>(file_.Close());
  if (!name_.empty()) static_cast<void>(fs_.Delete(name_));
}

IoCode TempFile::Create(const std::string& sibling) {
  std::unique_ptr<store::File> unnamed;
  const IoCode rc = fs_.CreateUnnamed(sibling, unnamed);
  if (rc == code::Ok) {
    file_.Adopt(std::move(unnamed));
    unnamed_ = true;
    // Locked before it has any name, so no one ever finds it unlocked.
    return file_.Lock();
  }
  return rc == code::NotSupported ? CreateNamed(sibling) : rc;
}

IoCode TempFile::CreateNamed(const std::string& sibling) {
  if (!HiddenNameFits(sibling)) return code::InvalidFilename;
  for (int attempt = 0; attempt < MaxNameTries; ++attempt) {
    const std::string name = NameBeside(sibling);
    const IoCode rc = file_.Open(name, Access::ReadWrite, Disposition::CreateNew);
    if (rc == code::AlreadyExists) continue;
    if (rc != code::Ok) return rc;
    name_ = name;
    // Between its making and its lock, a writer cleaning up may have taken
    // the new file for a stale one; then it starts again under a new name.
    if (const IoCode locked = file_.Lock(); locked != code::Ok) return locked;
    FileInfo mine;
    FileInfo named;
    if (const IoCode got = file_.Info(mine); got != code::Ok) return got;
    const IoCode found = fs_.Info(name, named);
    if (found == code::Ok && named.SameFile(mine)) return code::Ok;
    if (found != code::Ok && found != code::FileNotFound) return found;
    static_cast<void>(file_.Close());
    // Gone: the name is tried once more in case it is still this file's (a
    // random name is no one else's); leads elsewhere: never deleted here.
    if (found == code::FileNotFound) static_cast<void>(fs_.Delete(name_));
    name_.clear();
  }
  return code::AlreadyExists;
}

IoCode TempFile::NameBesideOf(const std::string& sibling) {
  IoCode rc = code::AlreadyExists;
  for (int attempt = 0; attempt < MaxNameTries && rc == code::AlreadyExists; ++attempt) {
    const std::string name = NameBeside(sibling);
    rc = file_.Raw()->Link(name);
    if (rc == code::Ok) name_ = name;
  }
  if (rc == code::Ok) unnamed_ = false;
  return rc;
}

IoCode TempFile::Replace(const std::string& target) {
  // A rename needs a name to move: the unnamed file gets a hidden one just
  // before, so only a writer killed between these two steps leaves it behind.
  if (unnamed_) {
    if (const IoCode rc = NameBesideOf(target); rc != code::Ok) return rc;
  }
  // Still open, and so still locked, while it moves.
  if (const IoCode rc = fs_.Rename(name_, target); rc != code::Ok) return rc;
  name_.clear();
  return file_.Close();
}

IoCode TempFile::TakeFreeName(const std::string& target) {
  if (unnamed_) {
    if (const IoCode rc = file_.Raw()->Link(target); rc != code::Ok) return rc;
    unnamed_ = false;
    return file_.Close();
  }
  if (const IoCode rc = fs_.RenameNoReplace(name_, target); rc != code::Ok) return rc;
  name_.clear();
  return file_.Close();
}

}  // namespace spellcheck::store
