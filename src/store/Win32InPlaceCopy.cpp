#include "store/Win32InPlaceCopy.h"

#include <vector>

#include "store/Win32Errors.h"
#include "store/Win32Handle.h"

namespace spellcheck::store {
namespace {

constexpr DWORD ChunkBytes = 64 * 1024;

IoCode CopyAll(HANDLE source, HANDLE target) {
  std::vector<char> chunk(ChunkBytes);
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(source, chunk.data(), ChunkBytes, &got, nullptr)) return LastErrorCode();
    if (got == 0) return code::Ok;
    DWORD put = 0;
    if (!::WriteFile(target, chunk.data(), got, &put, nullptr)) return LastErrorCode();
    if (put != got) return code::DiskFull;
  }
}

}  // namespace

IoCode CopyContentsInPlace(const std::string& from, const std::string& to) {
  UniqueHandle source;
  if (const IoCode rc = OpenHandle(from, GENERIC_READ, OPEN_EXISTING, 0, source); rc != code::Ok) {
    return rc;
  }
  UniqueHandle target;
  // Never made anew here: only a file that exists can be held open.
  if (const IoCode rc = OpenHandle(to, GENERIC_WRITE, OPEN_EXISTING, 0, target); rc != code::Ok) {
    return rc;
  }
  // Written over the old contents first and cut afterwards, so that a reader
  // meanwhile never finds the file empty.
  if (const IoCode rc = CopyAll(source.Get(), target.Get()); rc != code::Ok) return rc;
  if (!::SetEndOfFile(target.Get())) return LastErrorCode();
  if (!::FlushFileBuffers(target.Get())) return LastErrorCode();
  if (!::CloseHandle(target.Release())) return LastErrorCode();
  source = UniqueHandle();
  // The new contents are in place, so the replacement has succeeded even in
  // the unlikely case that the source cannot be deleted now.
  ::DeleteFileA(from.c_str());
  return code::Ok;
}

}  // namespace spellcheck::store
