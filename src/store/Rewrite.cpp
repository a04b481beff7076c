#include "store/Rewrite.h"

#include <string_view>
#include <vector>

#include "store/TempFile.h"

namespace spellcheck::store {
namespace {

void WriteAndSync(RecordFile& file, std::string_view bytes) {
  Check(file.IsOpen() ? WriteFully(*file.Raw(), bytes.data(), bytes.size()) : code::AccessDenied);
  Check(file.Sync());
}

std::string_view BytesOf(const Records& records) {
  return {reinterpret_cast<const char*>(records.data()), records.size() * RecordSize};
}

// The file that a name leads to through any symbolic links.
std::string FileBehind(FileSystem& fs, const std::string& name) {
  std::string target;
  Check(fs.ResolveLinks(name, target));
  return target;
}

// A folder that refuses new files (or a name too long for a sibling).
bool NoRoomBeside(IoCode rc) {
  return rc == code::AccessDenied || rc == code::InvalidFilename;
}

// The new contents go over the old ones in the file itself. Nothing is cut
// before the new contents are known to fit: the room for them is reserved
// first where the file system can promise it, the file is written over and
// only then cut to length. Should any of that fail, the old contents, kept in
// memory, are put back before the error is raised.
void RewriteInPlace(FileSystem& fs, const std::string& target, std::string_view bytes) {
  RecordFile file(fs);
  Check(file.OpenExisting(target, Access::ReadWrite));
  File& raw = *file.Raw();
  std::uint64_t oldSize = 0;
  Check(raw.Size(oldSize));
  std::vector<unsigned char> old(static_cast<std::size_t>(oldSize));
  std::size_t got = 0;
  Check(ReadFullyAt(raw, 0, old.data(), old.size(), got));
  if (got != old.size()) Raise(code::ReadBeyondEnd);

  const std::uint64_t newSize = bytes.size();
  if (const IoCode reserved = raw.Reserve(newSize);
      reserved != code::Ok && reserved != code::NotSupported) {
    Raise(reserved);
  }
  IoCode rc = WriteFullyAt(raw, 0, bytes.data(), bytes.size());
  if (rc == code::Ok && newSize != oldSize) rc = raw.Truncate(newSize);
  if (rc == code::Ok) rc = raw.Sync();
  if (rc != code::Ok) {
    // The old contents fit where they were; how putting them back ends
    // changes nothing about the error that is raised.
    static_cast<void>(WriteFullyAt(raw, 0, old.data(), old.size()));
    static_cast<void>(raw.Truncate(oldSize));
    static_cast<void>(raw.Sync());
    Raise(rc);
  }
  Check(file.Close());
}

}  // namespace

void ReplaceContents(FileSystem& fs, const std::string& name, const FileInfo& info,
                     const Records& records) {
  ReplaceBytes(fs, name, info, BytesOf(records));
}

void ReplaceBytes(FileSystem& fs, const std::string& name, const FileInfo& info,
                  std::string_view bytes) {
  const std::string target = FileBehind(fs, name);
  // A file with more names than one is written in place: a new file would
  // take one of its names only, and the others would keep the old words.
  if (info.links > 1) return RewriteInPlace(fs, target, bytes);
  // Without a hidden name beside it no new file can take its place.
  if (!HiddenNameFits(target)) return RewriteInPlace(fs, target, bytes);
  TempFile temp(fs);
  const IoCode created = temp.Create(target);
  if (NoRoomBeside(created)) return RewriteInPlace(fs, target, bytes);
  Check(created);
  // The new file takes the old one's owner (where the caller may give it),
  // permission bits, access list and extended attributes, so a dictionary
  // stays its owner's, and open to those it was open to, whoever changes it.
  FileAttributes attributes;
  Check(fs.Attributes(target, attributes));
  Check(temp.File().SetOwner(info.owner, info.group));
  Check(temp.File().SetMode(info.mode));
  Check(temp.File().SetAttributes(attributes));
  WriteAndSync(temp.File(), bytes);
  const IoCode replaced = temp.Replace(target);
  // A folder that lets only a file's owner replace it (the sticky bit) still
  // lets whoever may write the file rewrite it.
  if (replaced == code::AccessDenied) return RewriteInPlace(fs, target, bytes);
  Check(replaced);
  Check(fs.SyncFolderOf(target));
}

bool CreateContents(FileSystem& fs, const std::string& name, const Records& records) {
  return CreateBytes(fs, name, BytesOf(records));
}

bool CreateBytes(FileSystem& fs, const std::string& name, std::string_view bytes) {
  // A dangling link makes the file it names, as creating through it would.
  const std::string target = FileBehind(fs, name);
  TempFile temp(fs);
  const IoCode created = temp.Create(target);
  if (created == code::InvalidFilename && !HiddenNameFits(target)) {
    // No hidden file fits beside it (and the platform has no unnamed ones):
    // the file is made under its own name at once. A failure part-way
    // takes the partial file away again.
    RecordFile file(fs);
    const IoCode opened = file.Open(target, Access::ReadWrite, Disposition::CreateNew);
    if (opened == code::AlreadyExists) return false;
    Check(opened);
    const IoCode written = WriteFully(*file.Raw(), bytes.data(), bytes.size());
    const IoCode synced = written == code::Ok ? file.Sync() : written;
    const IoCode closed = file.Close();
    const IoCode failed = synced != code::Ok ? synced : closed;
    if (failed != code::Ok) {
      static_cast<void>(fs.Delete(target));
      Raise(failed);
    }
    Check(fs.SyncFolderOf(target));
    return true;
  }
  Check(created);
  WriteAndSync(temp.File(), bytes);
  const IoCode placed = temp.TakeFreeName(target);
  if (placed == code::AlreadyExists) return false;
  Check(placed);
  Check(fs.SyncFolderOf(target));
  return true;
}

void DeleteEmptied(FileSystem& fs, const std::string& name, const FileInfo& info) {
  if (FileBehind(fs, name) == name && info.links <= 1) {
    if (fs.Delete(name) == code::Ok) return;
    // Not deletable: it stays, without words.
    ReplaceContents(fs, name, info, {});
    return;
  }
  // A link, or one of several names of the file: the file is emptied for all
  // its names and this name goes, as deleting by name does.
  ReplaceContents(fs, name, info, {});
  static_cast<void>(fs.Delete(name));
}

}  // namespace spellcheck::store
