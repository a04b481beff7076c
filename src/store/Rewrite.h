// Writing a dictionary's contents so that a failure or a crash at any point
// leaves either the old file or the new one, whole: the new contents go to a
// new file in the same folder, reach the disk, and then take the dictionary's
// name in one step.
#ifndef SPELLCHECK_STORE_REWRITE_H
#define SPELLCHECK_STORE_REWRITE_H

#include <string>
#include <string_view>

#include "store/FileSystem.h"
#include "store/RecordEdits.h"
#include "store/RecordFile.h"

namespace spellcheck::store {

// Replaces the contents of the dictionary `name`, which the caller holds
// locked and which `info` describes. Keeps its owner (where the caller may
// give files away), permission bits, access list and extended attributes;
// when `name` is a symbolic link, the file it leads to is replaced and the
// link stays. Where the folder takes no new file, lets no one but the owner
// replace the file, or has no room for a hidden name beside it, and for a
// file with several names (hard links), which must all keep leading to one
// file, the file is rewritten in place instead: nothing is cut before the new
// contents are known to fit, and a failure puts the old contents back.
void ReplaceContents(FileSystem& fs, const std::string& name, const FileInfo& info,
                     const Records& records);
// The same for any file's contents as bytes (ReplaceContents is this with
// the records' bytes): a text that the tool corrects is put in place so too.
void ReplaceBytes(FileSystem& fs, const std::string& name, const FileInfo& info,
                  std::string_view bytes);

// Makes the absent dictionary `name` holding `records`. False, with nothing
// changed, when a file has that name by the time the new one is ready.
bool CreateContents(FileSystem& fs, const std::string& name, const Records& records);
// The same for any file's contents as bytes.
bool CreateBytes(FileSystem& fs, const std::string& name, std::string_view bytes);

// Takes away the locked dictionary `name` that a change left without words.
// When it cannot be deleted, it stays, emptied.
void DeleteEmptied(FileSystem& fs, const std::string& name, const FileInfo& info);

}  // namespace spellcheck::store

#endif
