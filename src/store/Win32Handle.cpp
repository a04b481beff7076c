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

IoCode ReserveRoom(HANDLE file, std::uint64_t bytes) {
  FILE_STANDARD_INFO standard{};
  if (!::GetFileInformationByHandleEx(file, FileStandardInfo, &standard, sizeof standard)) {
    return LastErrorCode();
  }
  if (static_cast<std::uint64_t>(standard.AllocationSize.QuadPart) >= bytes) return code::Ok;
  FILE_ALLOCATION_INFO allocation{};
  allocation.AllocationSize.QuadPart = static_cast<LONGLONG>(bytes);
  if (::SetFileInformationByHandle(file, FileAllocationInfo, &allocation, sizeof allocation)) {
    return code::Ok;
  }
  const DWORD error = ::GetLastError();
  if (error == ERROR_INVALID_PARAMETER || error == ERROR_NOT_SUPPORTED ||
      error == ERROR_INVALID_FUNCTION || error == ERROR_CALL_NOT_IMPLEMENTED) {
    return code::NotSupported;
  }
  return CodeForWin32Error(error);
}

}  // namespace spellcheck::store
