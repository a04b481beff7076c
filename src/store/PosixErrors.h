// The one place where POSIX error numbers become the store's codes.
#ifndef SPELLCHECK_STORE_POSIXERRORS_H
#define SPELLCHECK_STORE_POSIXERRORS_H

#include "store/FileSystem.h"

namespace spellcheck::store {

// ENOENT 2, ENAMETOOLONG/ENOTDIR 3, EMFILE/ENFILE 4, EACCES/EPERM/EROFS/EISDIR 5,
// ETXTBSY/EBUSY 32, ENOSPC/EDQUOT/EFBIG 112, EIO 1117; any other its own number.
IoCode CodeForErrno(int err);

}  // namespace spellcheck::store

#endif
