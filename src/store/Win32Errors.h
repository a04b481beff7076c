// The one place where Windows error numbers become the store's codes.
#ifndef SPELLCHECK_STORE_WIN32ERRORS_H
#define SPELLCHECK_STORE_WIN32ERRORS_H

#include "store/FileSystem.h"

namespace spellcheck::store {

// Windows error numbers are the store's codes as they are (2 file not found,
// 3 path not found, 5 access denied, 32 sharing violation, 112 disk full, ...),
// with three exceptions: 0 (a failed call that left no number) becomes 31,
// general failure, so that it never reads as success; 39, the disk full of a
// handle, is 112 as any full disk; and 100 to 106, which Windows gives to
// semaphores and the layer uses for its own codes, keep their number with
// code::UnmappedSystemError set. The number itself is kept beside the code.
IoCode CodeForWin32Error(unsigned long error);

// The code of the calling thread's last failed Windows call.
IoCode LastErrorCode();

}  // namespace spellcheck::store

#endif
