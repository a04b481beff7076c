// The Windows fallback for replacing a file that another opener holds.
#ifndef SPELLCHECK_STORE_WIN32INPLACECOPY_H
#define SPELLCHECK_STORE_WIN32INPLACECOPY_H

#include <string>

#include "store/FileSystem.h"

namespace spellcheck::store {

// Windows replaces no file by name while any handle has it open, even one
// that shares deletion (the store's own writer lock is such a handle). Then
// the contents of `from` are written over those of `to` in place, cut to
// length and flushed, and `from` is deleted. `to` keeps its identity, so its
// holders see the new contents.
IoCode CopyContentsInPlace(const std::string& from, const std::string& to);

}  // namespace spellcheck::store

#endif
