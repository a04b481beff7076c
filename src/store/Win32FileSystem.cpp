// Windows implementation of the file-access layer.

#include <cstdint>
#include <utility>
#include <vector>

#include "store/FileSystem.h"
#include "store/Win32Errors.h"
#include "store/Win32Handle.h"
#include "store/Win32InPlaceCopy.h"

namespace spellcheck::store {
namespace {

// Byte ranges locked on Windows block reads and writes through other handles,
// so the writers' lock takes one byte far beyond any data: it keeps writers
// apart and never gets in a reader's way.
constexpr std::uint64_t LockOffset = std::uint64_t{1} << 62;

// FILETIME counts 100 ns steps from 1601; FileInfo counts ns from 1970.
constexpr std::int64_t FileTimeAt1970 = 116444736000000000;

// Permission bits as the POSIX layer reports them: the read-only attribute
// takes away every write bit.
constexpr std::uint32_t WritableMode = 0666;
constexpr std::uint32_t ReadOnlyMode = 0444;
constexpr std::uint32_t AnyWriteBit = 0222;

bool UsableName(const std::string& name) {
  return !name.empty() && name.size() <= MaxFileNameLength && name.find('\0') == std::string::npos;
}

DWORD CreationFor(Disposition disposition) {
  switch (disposition) {
    case Disposition::OpenExisting:
      return OPEN_EXISTING;
    case Disposition::OpenAlways:
      return OPEN_ALWAYS;
    case Disposition::CreateAlways:
      return CREATE_ALWAYS;
    case Disposition::CreateNew:
      return CREATE_NEW;
  }
  return OPEN_EXISTING;
}

// At most what one ReadFile/WriteFile call can move.
DWORD ClampToDword(std::size_t size) {
  return size > MAXDWORD ? MAXDWORD : static_cast<DWORD>(size);
}

FileInfo FromHandleInformation(const BY_HANDLE_FILE_INFORMATION& data) {
  FileInfo info;
  info.device = data.dwVolumeSerialNumber;
  info.inode = (std::uint64_t{data.nFileIndexHigh} << 32) | data.nFileIndexLow;
  info.size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  const auto ticks =
      static_cast<std::int64_t>((std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                                data.ftLastWriteTime.dwLowDateTime);
  info.modifiedNs = (ticks - FileTimeAt1970) * 100;
  info.changedNs = info.modifiedNs;
  info.mode = (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) ? ReadOnlyMode : WritableMode;
  info.links = data.nNumberOfLinks;
  return info;
}

OVERLAPPED OverlappedAt(std::uint64_t offset) {
  OVERLAPPED overlapped{};
  overlapped.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
  overlapped.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return overlapped;
}

class Win32File final : public File {
 public:
  explicit Win32File(UniqueHandle handle) : handle_(std::move(handle)) {}

  IoCode Size(std::uint64_t& bytes) override {
    if (!handle_) return code::FileNotOpen;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(handle_.Get(), &size)) return LastErrorCode();
    bytes = static_cast<std::uint64_t>(size.QuadPart);
    return code::Ok;
  }

  IoCode Seek(std::uint64_t offset) override {
    if (!handle_) return code::FileNotOpen;
    LARGE_INTEGER to{};
    to.QuadPart = static_cast<LONGLONG>(offset);  // beyond 2^63: refused as a negative seek
    return ::SetFilePointerEx(handle_.Get(), to, nullptr, FILE_BEGIN) ? code::Ok : LastErrorCode();
  }

  IoCode Read(void* buffer, std::size_t size, std::size_t& got) override {
    if (!handle_) return code::FileNotOpen;
    got = 0;
    DWORD n = 0;
    if (!::ReadFile(handle_.Get(), buffer, ClampToDword(size), &n, nullptr)) return LastErrorCode();
    got = n;
    return code::Ok;
  }

  // Like pread: the position stays where it was.
  IoCode ReadAt(std::uint64_t offset, void* buffer, std::size_t size, std::size_t& got) override {
    if (!handle_) return code::FileNotOpen;
    got = 0;
    LARGE_INTEGER here{};
    if (!::SetFilePointerEx(handle_.Get(), LARGE_INTEGER{}, &here, FILE_CURRENT))
      return LastErrorCode();
    OVERLAPPED at = OverlappedAt(offset);
    DWORD n = 0;
    const BOOL ok = ::ReadFile(handle_.Get(), buffer, ClampToDword(size), &n, &at);
    const DWORD error = ok ? ERROR_SUCCESS : ::GetLastError();
    if (!::SetFilePointerEx(handle_.Get(), here, nullptr, FILE_BEGIN)) return LastErrorCode();
    // A positioned read at or past the end fails with "end of file"; that is
    // a read of nothing, as it is for a plain read.
    if (!ok && error != ERROR_HANDLE_EOF) return CodeForWin32Error(error);
    got = ok ? n : 0;
    return code::Ok;
  }

  IoCode Write(const void* buffer, std::size_t size, std::size_t& put) override {
    if (!handle_) return code::AccessDenied;  // as a write step on a closed file
    put = 0;
    DWORD n = 0;
    if (!::WriteFile(handle_.Get(), buffer, ClampToDword(size), &n, nullptr))
      return LastErrorCode();
    put = n;
    return code::Ok;
  }

  // Like pwrite: the position stays where it was.
  IoCode WriteAt(std::uint64_t offset, const void* buffer, std::size_t size,
                 std::size_t& put) override {
    if (!handle_) return code::AccessDenied;
    put = 0;
    LARGE_INTEGER here{};
    if (!::SetFilePointerEx(handle_.Get(), LARGE_INTEGER{}, &here, FILE_CURRENT))
      return LastErrorCode();
    OVERLAPPED at = OverlappedAt(offset);
    DWORD n = 0;
    const BOOL ok = ::WriteFile(handle_.Get(), buffer, ClampToDword(size), &n, &at);
    const DWORD error = ok ? ERROR_SUCCESS : ::GetLastError();
    if (!::SetFilePointerEx(handle_.Get(), here, nullptr, FILE_BEGIN)) return LastErrorCode();
    if (!ok) return CodeForWin32Error(error);
    put = n;
    return code::Ok;
  }

  IoCode Reserve(std::uint64_t bytes) override {
    if (!handle_) return code::FileNotOpen;
    return ReserveRoom(handle_.Get(), bytes);
  }

  // The position stays where it was.
  IoCode Truncate(std::uint64_t bytes) override {
    if (!handle_) return code::FileNotOpen;
    LARGE_INTEGER here{};
    if (!::SetFilePointerEx(handle_.Get(), LARGE_INTEGER{}, &here, FILE_CURRENT))
      return LastErrorCode();
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(bytes);
    const BOOL ok = ::SetFilePointerEx(handle_.Get(), end, nullptr, FILE_BEGIN) &&
                    ::SetEndOfFile(handle_.Get());
    const DWORD error = ok ? ERROR_SUCCESS : ::GetLastError();
    if (!::SetFilePointerEx(handle_.Get(), here, nullptr, FILE_BEGIN)) return LastErrorCode();
    return ok ? code::Ok : CodeForWin32Error(error);
  }

  // Windows has no owners to give away nor access lists copied this way: a
  // new file takes those of its folder.
  IoCode SetOwner(std::uint32_t, std::uint32_t) override {
    return handle_ ? code::Ok : code::FileNotOpen;
  }
  IoCode SetAttributes(const FileAttributes&) override {
    return handle_ ? code::Ok : code::FileNotOpen;
  }
  // Windows makes no unnamed files (CreateUnnamed), so there is none to name.
  IoCode Link(const std::string&) override { return code::NotSupported; }

  IoCode Sync() override {
    if (!handle_) return code::FileNotOpen;
    return ::FlushFileBuffers(handle_.Get()) ? code::Ok : LastErrorCode();
  }

  IoCode SetMode(std::uint32_t mode) override {
    if (!handle_) return code::FileNotOpen;
    FILE_BASIC_INFO basic{};
    if (!::GetFileInformationByHandleEx(handle_.Get(), FileBasicInfo, &basic, sizeof basic)) {
      return LastErrorCode();
    }
    if (mode & AnyWriteBit) {
      basic.FileAttributes &= ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    } else {
      basic.FileAttributes |= FILE_ATTRIBUTE_READONLY;
    }
    // No other attribute left means "normal", which Windows wants spelt out.
    if (basic.FileAttributes == 0) basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    // Zero times mean "leave unchanged".
    basic.CreationTime.QuadPart = 0;
    basic.LastAccessTime.QuadPart = 0;
    basic.LastWriteTime.QuadPart = 0;
    basic.ChangeTime.QuadPart = 0;
    return ::SetFileInformationByHandle(handle_.Get(), FileBasicInfo, &basic, sizeof basic)
               ? code::Ok
               : LastErrorCode();
  }

  IoCode Lock() override {
    if (!handle_) return code::FileNotOpen;
    OVERLAPPED at = OverlappedAt(LockOffset);
    // Without LOCKFILE_FAIL_IMMEDIATELY the call waits for the lock.
    return ::LockFileEx(handle_.Get(), LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at) ? code::Ok
                                                                              : LastErrorCode();
  }

  IoCode TryLock(bool& taken) override {
    taken = false;
    if (!handle_) return code::FileNotOpen;
    OVERLAPPED at = OverlappedAt(LockOffset);
    if (::LockFileEx(handle_.Get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                     &at)) {
      taken = true;
      return code::Ok;
    }
    const DWORD error = ::GetLastError();
    return error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING ? code::Ok
                                                                      : CodeForWin32Error(error);
  }

  IoCode Info(FileInfo& info) override {
    if (!handle_) return code::FileNotOpen;
    BY_HANDLE_FILE_INFORMATION data{};
    if (!::GetFileInformationByHandle(handle_.Get(), &data)) return LastErrorCode();
    info = FromHandleInformation(data);
    return code::Ok;
  }

  // A private copy rather than a view: Windows refuses to replace a file
  // that is mapped, and compiled files are replaced while others use them.
  IoCode Map(std::unique_ptr<Mapping>& mapping) override {
    mapping.reset();
    std::uint64_t size = 0;
    if (const IoCode rc = Size(size); rc != code::Ok) return rc;
    if (size > SIZE_MAX / 2) return code::NotSupported;
    std::vector<unsigned char> bytes(static_cast<std::size_t>(size));
    std::size_t done = 0;
    while (done < bytes.size()) {
      std::size_t got = 0;
      if (const IoCode rc = ReadAt(done, bytes.data() + done, bytes.size() - done, got);
          rc != code::Ok) {
        return rc;
      }
      if (got == 0) return code::ReadBeyondEnd;
      done += got;
    }
    mapping = std::make_unique<BytesMapping>(std::move(bytes));
    return code::Ok;
  }

  IoCode Close() override {
    // The handle is gone after CloseHandle whatever it answers; never retry.
    if (!handle_) return code::FileNotOpen;
    return ::CloseHandle(handle_.Release()) ? code::Ok : LastErrorCode();
  }

 private:
  UniqueHandle handle_;
};

class Win32FileSystem final : public FileSystem {
 public:
  IoCode Open(const std::string& name, Access access, Disposition disposition,
              std::unique_ptr<File>& file) override {
    file.reset();
    if (!UsableName(name)) return code::InvalidFilename;
    const DWORD rights = access == Access::Read ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    // A folder fails here with "access denied": it is no word-list file.
    UniqueHandle handle;
    if (const IoCode rc = OpenHandle(name, rights, CreationFor(disposition), 0, handle);
        rc != code::Ok) {
      return rc;
    }
    file = std::make_unique<Win32File>(std::move(handle));
    return code::Ok;
  }

  IoCode Info(const std::string& name, FileInfo& info) override {
    if (!UsableName(name)) return code::InvalidFilename;
    // Backup semantics let folders be opened too; no data access is asked for.
    UniqueHandle handle;
    if (const IoCode rc = OpenHandle(name, FILE_READ_ATTRIBUTES, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS, handle);
        rc != code::Ok) {
      return rc;
    }
    Win32File opened(std::move(handle));
    return opened.Info(info);
  }

  IoCode Attributes(const std::string& name, FileAttributes& attributes) override {
    attributes = FileAttributes{};
    return UsableName(name) ? code::Ok : code::InvalidFilename;
  }

  IoCode CreateUnnamed(const std::string&, std::unique_ptr<File>& file) override {
    file.reset();
    return code::NotSupported;
  }

  IoCode List(const std::string& folder, std::vector<std::string>& names) override {
    names.clear();
    const std::string pattern = folder + "\\*";
    WIN32_FIND_DATAA data{};
    const HANDLE find = ::FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return LastErrorCode();
    do {
      const std::string entry = data.cFileName;
      if (entry != "." && entry != "..") names.push_back(entry);
    } while (::FindNextFileA(find, &data));
    const DWORD error = ::GetLastError();
    ::FindClose(find);
    return error == ERROR_NO_MORE_FILES ? code::Ok : CodeForWin32Error(error);
  }

  // Windows resolves links itself when a file is opened or replaced by name.
  IoCode ResolveLinks(const std::string& name, std::string& target) override {
    if (!UsableName(name)) return code::InvalidFilename;
    target = name;
    return code::Ok;
  }

  // Replaces `to` in one step and returns only once the move is on disk.
  // Windows refuses that while another handle holds `to` (5 or 32); then the
  // contents go over `to` in place instead.
  IoCode Rename(const std::string& from, const std::string& to) override {
    if (!UsableName(from) || !UsableName(to)) return code::InvalidFilename;
    if (::MoveFileExA(from.c_str(), to.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return code::Ok;
    }
    const DWORD error = ::GetLastError();
    if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) {
      return CodeForWin32Error(error);
    }
    return CopyContentsInPlace(from, to);
  }

  IoCode RenameNoReplace(const std::string& from, const std::string& to) override {
    if (!UsableName(from) || !UsableName(to)) return code::InvalidFilename;
    if (::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) return code::Ok;
    const DWORD error = ::GetLastError();
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? code::AlreadyExists
                                                                       : CodeForWin32Error(error);
  }

  IoCode Delete(const std::string& name) override {
    if (!UsableName(name)) return code::InvalidFilename;
    return ::DeleteFileA(name.c_str()) ? code::Ok : LastErrorCode();
  }

  IoCode CreateFolder(const std::string& name) override {
    if (!UsableName(name)) return code::InvalidFilename;
    if (::CreateDirectoryA(name.c_str(), nullptr)) return code::Ok;
    const DWORD error = ::GetLastError();
    return error == ERROR_ALREADY_EXISTS ? code::AlreadyExists : CodeForWin32Error(error);
  }

  // Folders under the user's profile are the user's own by their inherited
  // access lists; a folder is all that is asked for here.
  IoCode IsTrustedFolder(const std::string& name, bool& isTrusted) override {
    isTrusted = false;
    if (!UsableName(name)) return code::InvalidFilename;
    const DWORD attributes = ::GetFileAttributesA(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return LastErrorCode();
    isTrusted = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return code::Ok;
  }

  // Renames are written through (see Rename); the folder needs nothing more.
  IoCode SyncFolderOf(const std::string&) override { return code::Ok; }
};

}  // namespace

FileSystem& FileSystem::Default() {
  static Win32FileSystem instance;
  return instance;
}

}  // namespace spellcheck::store
