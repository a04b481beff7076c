#include "store/PosixErrors.h"

#include <cerrno>

namespace spellcheck::store {

IoCode CodeForErrno(int err) {
  switch (err) {
    case 0:
      return code::Ok;
    case ENOENT:
      return code::FileNotFound;
    case ENAMETOOLONG:
    case ENOTDIR:
      return code::InvalidFilename;
    case EMFILE:
    case ENFILE:
      return code::TooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return code::AccessDenied;
    case ETXTBSY:
    case EBUSY:
      return code::SharingViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return code::DiskFullSystem;
    // EIO's own number (5) would read "File access denied"; use the Windows
    // number of a device I/O failure instead.
    case EIO:
      return 1117;
    default:
      return err;
  }
}

}  // namespace spellcheck::store
