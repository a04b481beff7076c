#include "store/PosixErrors.h"

#include <cerrno>

namespace spellcheck::store {
namespace {

int WindowsNumberFor(int err) {
  switch (err) {
    case 0:
      return 0;
    case ENOENT:
      return 2;
    case ENAMETOOLONG:
    case ENOTDIR:
    case ELOOP:
      return 3;
    case EMFILE:
    case ENFILE:
      return 4;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return 5;
    case EBADF:
      return 6;
    case ENOMEM:
      return 8;
    case EXDEV:
      return 17;
    case ETXTBSY:
    case EBUSY:
      return 32;
    case EOPNOTSUPP:
    case ENOSYS:
      return 50;
    case EEXIST:
      return 80;
    case EINVAL:
      return 87;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return 112;
    case EIO:
      return 1117;
    default:
      return code::UnmappedSystemError | err;
  }
}

}  // namespace

IoCode CodeForErrno(int err) {
  return IoCode(WindowsNumberFor(err), err);
}

}  // namespace spellcheck::store
