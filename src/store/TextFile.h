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

}  // namespace spellcheck::store

#endif
