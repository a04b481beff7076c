#include "store/Win32InPlaceCopy.h"

#include <algorithm>
#include <vector>

#include "store/Win32Errors.h"
#include "store/Win32Handle.h"

namespace spellcheck::store {
namespace {

constexpr DWORD ChunkBytes = 64 * 1024;

IoCode SizeOf(HANDLE file, std::uint64_t& bytes) {
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file, &size)) return LastErrorCode();
  bytes = static_cast<std::uint64_t>(size.QuadPart);
  return code::Ok;
}

IoCode MoveTo(HANDLE file, std::uint64_t offset) {
  LARGE_INTEGER to{};
  to.QuadPart = static_cast<LONGLONG>(offset);
  return ::SetFilePointerEx(file, to, nullptr, FILE_BEGIN) ? code::Ok : LastErrorCode();
}

IoCode ReadWhole(HANDLE file, std::vector<char>& bytes) {
  std::uint64_t size = 0;
  if (const IoCode rc = SizeOf(file, size); rc != code::Ok) return rc;
  bytes.resize(static_cast<std::size_t>(size));
  std::size_t have = 0;
  while (have < bytes.size()) {
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - have, ChunkBytes));
    DWORD got = 0;
    if (!::ReadFile(file, bytes.data() + have, want, &got, nullptr)) return LastErrorCode();
    if (got == 0) return code::ReadBeyondEnd;  // shortened meanwhile
    have += got;
  }
  return code::Ok;
}

IoCode WriteWhole(HANDLE file, const std::vector<char>& bytes) {
  if (const IoCode rc = MoveTo(file, 0); rc != code::Ok) return rc;
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, ChunkBytes));
    DWORD put = 0;
    if (!::WriteFile(file, bytes.data() + done, want, &put, nullptr)) return LastErrorCode();
    if (put == 0) return code::DiskFull;
    done += put;
  }
  // Cut to length only once everything is written.
  if (!::SetEndOfFile(file)) return LastErrorCode();
  return ::FlushFileBuffers(file) ? code::Ok : LastErrorCode();
}

}  // namespace

IoCode CopyContentsInPlace(const std::string& from, const std::string& to) {
  UniqueHandle source;
  if (const IoCode rc = OpenHandle(from, GENERIC_READ, OPEN_EXISTING, 0, source); rc != code::Ok) {
    return rc;
  }
  std::vector<char> contents;
  if (const IoCode rc = ReadWhole(source.Get(), contents); rc != code::Ok) return rc;
  source = UniqueHandle();

  UniqueHandle target;
  // Never made anew here: only a file that exists can be held open.
  if (const IoCode rc = OpenHandle(to, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING, 0, target);
      rc != code::Ok) {
    return rc;
  }
  // The old contents stay in memory until the new ones are in place. They are
  // written over the old ones and cut afterwards, so that a reader meanwhile
  // never finds the file empty, and nothing is cut before they fit.
  std::vector<char> old;
  if (const IoCode rc = ReadWhole(target.Get(), old); rc != code::Ok) return rc;
  if (const IoCode rc = ReserveRoom(target.Get(), contents.size());
      rc != code::Ok && rc != code::NotSupported) {
    return rc;
  }
  if (const IoCode rc = WriteWhole(target.Get(), contents); rc != code::Ok) {
    static_cast<void>(WriteWhole(target.Get(), old));
    return rc;
  }
  if (!::CloseHandle(target.Release())) return LastErrorCode();
  // The new contents are in place, so the replacement has succeeded even in
  // the unlikely case that the source cannot be deleted now.
  ::DeleteFileA(from.c_str());
  return code::Ok;
}

}  // namespace spellcheck::store
