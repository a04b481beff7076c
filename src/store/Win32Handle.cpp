#include "store/Win32Handle.h"

#include <utility>

#include "store/Win32Errors.h"

namespace spellcheck::store {

UniqueHandle& UniqueHandle::operator=(UniqueHandle&& other) noexcept {
  if (this != &other) {
    UniqueHandle old(std::exchange(handle_, other.Release()));
  }
  return *this;
}

UniqueHandle::~UniqueHandle() {
  if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
}

HANDLE UniqueHandle::Release() {
  return std::exchange(handle_, INVALID_HANDLE_VALUE);
}

IoCode OpenHandle(const std::string& name, DWORD rights, DWORD creation, DWORD flags,
                  UniqueHandle& handle) {
  handle = UniqueHandle();
  const bool changesFile =
      (rights & GENERIC_WRITE) != 0 || creation == CREATE_ALWAYS || creation == TRUNCATE_EXISTING;
  if (changesFile) {
    const DWORD attributes = ::GetFileAttributesA(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
        !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      return CodeForWin32Error(ERROR_ACCESS_DENIED);
    }
  }
  handle = UniqueHandle(::CreateFileA(name.c_str(), rights, ShareAll, nullptr, creation,
                                      FILE_ATTRIBUTE_NORMAL | flags, nullptr));
  return handle ? code::Ok : LastErrorCode();
}

}  // namespace spellcheck::store
