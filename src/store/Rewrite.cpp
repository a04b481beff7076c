#include "store/Rewrite.h"

#include "store/TempFile.h"

namespace spellcheck::store {
namespace {

void WriteAndSync(RecordFile& file, const Records& records) {
  Check(file.WriteAll(records));
  Check(file.Sync());
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

void RewriteInPlace(FileSystem& fs, const std::string& target, const Records& records) {
  RecordFile file(fs);
  Check(file.Create(target));
  WriteAndSync(file, records);
  Check(file.Close());
}

}  // namespace

void ReplaceContents(FileSystem& fs, const std::string& name, const FileInfo& info,
                     const Records& records) {
  const std::string target = FileBehind(fs, name);
  TempFile temp(fs);
  const IoCode created = temp.Create(target);
  if (NoRoomBeside(created)) return RewriteInPlace(fs, target, records);
  Check(created);
  // The new file takes the old one's owner (where the caller may give it) and
  // permission bits, so a dictionary stays its owner's whoever changes it.
  Check(temp.File().SetOwner(info.owner, info.group));
  Check(temp.File().SetMode(info.mode));
  WriteAndSync(temp.File(), records);
  const IoCode replaced = temp.Replace(target);
  // A folder that lets only a file's owner replace it (the sticky bit) still
  // lets whoever may write the file rewrite it.
  if (replaced == code::AccessDenied) return RewriteInPlace(fs, target, records);
  Check(replaced);
  Check(fs.SyncFolderOf(target));
}

bool CreateContents(FileSystem& fs, const std::string& name, const Records& records) {
  // A dangling link makes the file it names, as creating through it would.
  const std::string target = FileBehind(fs, name);
  TempFile temp(fs);
  Check(temp.Create(target));
  WriteAndSync(temp.File(), records);
  const IoCode placed = temp.TakeFreeName(target);
  if (placed == code::AlreadyExists) return false;
  Check(placed);
  Check(fs.SyncFolderOf(target));
  return true;
}

void DeleteEmptied(FileSystem& fs, const std::string& name, const FileInfo& info) {
  if (FileBehind(fs, name) == name) {
    if (fs.Delete(name) == code::Ok) return;
    // Not deletable: it stays, without words.
    ReplaceContents(fs, name, info, {});
    return;
  }
  // A link: its file is emptied and the link itself goes, as deleting by name does.
  ReplaceContents(fs, name, info, {});
  fs.Delete(name);
}

}  // namespace spellcheck::store
