#include "store/Win32Errors.h"

#include <windows.h>

namespace spellcheck::store {

IoCode CodeForWin32Error(unsigned long error) {
  const int number = static_cast<int>(error);
  switch (error) {
    case ERROR_SUCCESS:
      return IoCode(ERROR_GEN_FAILURE, number);
    case ERROR_HANDLE_DISK_FULL:
      return IoCode(ERROR_DISK_FULL, number);
    default:
      if (error >= 100 && error <= 106) return IoCode(code::UnmappedSystemError | number, number);
      return IoCode(number, number);
  }
}

IoCode LastErrorCode() {
  return CodeForWin32Error(::GetLastError());
}

}  // namespace spellcheck::store
