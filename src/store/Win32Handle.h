// Owned Windows file handles, and the one way the Windows layer opens files.
#ifndef SPELLCHECK_STORE_WIN32HANDLE_H
#define SPELLCHECK_STORE_WIN32HANDLE_H

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdint>
#include <string>

#include "store/FileSystem.h"

namespace spellcheck::store {

// Owns one handle; closes it (ignoring the outcome) unless it was released.
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept;
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle();

  explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }
  HANDLE Release();

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// Every opener lets the others read and write, so the store's own double
// openings of one file succeed; delete sharing lets a file that a reader
// holds still be deleted.
inline constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// CreateFileA with ShareAll and normal attributes. Write access to a file that
// has the read-only attribute is refused with 5 (access denied) before the
// file is touched, as Windows does, also where the process could write it
// anyway (Wine running as root).
IoCode OpenHandle(const std::string& name, DWORD rights, DWORD creation, DWORD flags,
                  UniqueHandle& handle);

// Makes sure that the file has room on the disk for `bytes` bytes, without
// its length or contents changing (its allocation size); NotSupported where
// the file system cannot promise it.
IoCode ReserveRoom(HANDLE file, std::uint64_t bytes);

}  // namespace spellcheck::store

#endif
