// Texts that the tool corrects in place: read whole through the file system,
// and put back the way a dictionary is rewritten (Rewrite.h), so that a crash
// at any point leaves the old text or the new one, whole, with the file's
// owner and permission bits kept.
#ifndef SPELLCHECK_STORE_TEXTFILE_H
#define SPELLCHECK_STORE_TEXTFILE_H

#include <string>
#include <string_view>

#include "store/FileSystem.h"

namespace spellcheck::store {

// Reads the whole regular file `name` into `bytes`; `info` describes it as it
// was read. Answers the code of the open or read that failed.
IoCode ReadWholeFile(FileSystem& fs, const std::string& name, std::string& bytes, FileInfo& info);

// Puts `bytes` in place of the text `name`, provided it is still what was
// read: the same file, size, modification time and bytes (`read`,
// `readBytes`). False, with nothing changed, when it changed or went since.
// Writers of the file exclude each other with the store's lock
// (WriterLock.h). Raises EInOutError when it cannot be written.
bool ReplaceIfUnchanged(FileSystem& fs, const std::string& name, const FileInfo& read,
                        std::string_view readBytes, std::string_view bytes);

// Word lists as text, one word a line: adds `line` as a line of its own,
// making the file when it is absent; false when it holds the line already.
// Crash-safe and locked as the rewrites above; when another writer changed
// the file in between, it is read again and the change made on what is new.
bool AddLine(FileSystem& fs, const std::string& name, std::string_view line);
// Takes every line equal to `line` out; false when there was none (or no file).
bool RemoveLine(FileSystem& fs, const std::string& name, std::string_view line);

}  // namespace spellcheck::store

#endif
