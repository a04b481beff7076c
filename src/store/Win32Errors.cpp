#include "store/Win32Errors.h"

#include <windows.h>

namespace spellcheck::store {

IoCode CodeForWin32Error(unsigned long error) {
  // A failed call always leaves a number; should one not, "general failure"
  // keeps the failure from reading as success.
  if (error == ERROR_SUCCESS) return ERROR_GEN_FAILURE;
  return static_cast<IoCode>(error);
}

IoCode LastErrorCode() {
  return CodeForWin32Error(::GetLastError());
}

}  // namespace spellcheck::store
