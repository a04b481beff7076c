// The one place where POSIX error numbers become the store's codes.
#ifndef SPELLCHECK_STORE_POSIXERRORS_H
#define SPELLCHECK_STORE_POSIXERRORS_H

#include "store/FileSystem.h"

namespace spellcheck::store {

// The store's codes are Windows error numbers, so each errno with a Windows
// counterpart becomes that number:
//   ENOENT 2; ENAMETOOLONG, ENOTDIR, ELOOP 3 (no file can have the name);
//   EMFILE, ENFILE 4; EACCES, EPERM, EROFS, EISDIR 5; EBADF 6; ENOMEM 8;
//   EXDEV 17; ETXTBSY, EBUSY 32; EOPNOTSUPP, ENOSYS 50; EEXIST 80; EINVAL 87;
//   ENOSPC, EDQUOT, EFBIG 112; EIO 1117 (a device I/O failure).
// Any other errno keeps its number with code::UnmappedSystemError set, so it
// never reads as another failure. The errno itself is kept beside the code.
IoCode CodeForErrno(int err);

}  // namespace spellcheck::store

#endif
