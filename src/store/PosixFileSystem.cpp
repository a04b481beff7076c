// POSIX implementation of the file-access layer.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "store/FileSystem.h"
#include "store/PosixErrors.h"

namespace spellcheck::store {
namespace {

bool UsableName(const std::string& name) {
  return !name.empty() && name.size() <= MaxFileNameLength && name.find('\0') == std::string::npos;
}

// The folder part of a file name ("." for a bare name).
std::string FolderOf(const std::string& name) {
  const auto slash = name.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : name.substr(0, slash);
}

FileInfo FromStat(const struct stat& st) {
  FileInfo info;
  info.device = static_cast<std::uint64_t>(st.st_dev);
  info.inode = static_cast<std::uint64_t>(st.st_ino);
  info.size = static_cast<std::uint64_t>(st.st_size);
  info.modifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  info.changedNs = static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
  info.mode = static_cast<std::uint32_t>(st.st_mode & 07777);
  info.owner = static_cast<std::uint32_t>(st.st_uid);
  info.group = static_cast<std::uint32_t>(st.st_gid);
  return info;
}

class PosixFile final : public File {
 public:
  // `openedSize`: the size seen when the file was opened, or -1.
  explicit PosixFile(int fd, std::int64_t openedSize = -1) : fd_(fd), openedSize_(openedSize) {}
  ~PosixFile() override {
    if (fd_ >= 0) ::close(fd_);
  }

  IoCode Size(std::uint64_t& bytes) override {
    // A size query right after the open is answered by the open's own look
    // at the file, which saves a lookup its one system call; any other step
    // in between (a write, waiting for a lock) makes it ask the system again.
    if (openedSize_ >= 0) {
      bytes = static_cast<std::uint64_t>(openedSize_);
      openedSize_ = -1;
      return code::Ok;
    }
    struct stat st;
    if (::fstat(fd_, &st) != 0) return CodeForErrno(errno);
    bytes = static_cast<std::uint64_t>(st.st_size);
    return code::Ok;
  }

  IoCode Seek(std::uint64_t offset) override {
    openedSize_ = -1;
    if (offset > static_cast<std::uint64_t>(LLONG_MAX)) return code::InvalidFilename;
    if (::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) < 0) return CodeForErrno(errno);
    return code::Ok;
  }

  IoCode Read(void* buffer, std::size_t size, std::size_t& got) override {
    openedSize_ = -1;
    got = 0;
    ssize_t n;
    do n = ::read(fd_, buffer, size);
    while (n < 0 && errno == EINTR);
    if (n < 0) return CodeForErrno(errno);
    got = static_cast<std::size_t>(n);
    return code::Ok;
  }

  IoCode ReadAt(std::uint64_t offset, void* buffer, std::size_t size, std::size_t& got) override {
    openedSize_ = -1;
    got = 0;
    ssize_t n;
    do n = ::pread(fd_, buffer, size, static_cast<off_t>(offset));
    while (n < 0 && errno == EINTR);
    if (n < 0) return CodeForErrno(errno);
    got = static_cast<std::size_t>(n);
    return code::Ok;
  }

  IoCode Write(const void* buffer, std::size_t size, std::size_t& put) override {
    openedSize_ = -1;
    put = 0;
    ssize_t n;
    do n = ::write(fd_, buffer, size);
    while (n < 0 && errno == EINTR);
    if (n < 0) return CodeForErrno(errno);
    put = static_cast<std::size_t>(n);
    return code::Ok;
  }

  IoCode Sync() override {
    openedSize_ = -1;
    return ::fsync(fd_) == 0 ? code::Ok : CodeForErrno(errno);
  }

  IoCode SetMode(std::uint32_t mode) override {
    openedSize_ = -1;
    return ::fchmod(fd_, static_cast<mode_t>(mode)) == 0 ? code::Ok : CodeForErrno(errno);
  }

  IoCode Link(const std::string& name) override {
    openedSize_ = -1;
    if (!UsableName(name)) return code::InvalidFilename;
    char self[64];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd_);
    if (::linkat(AT_FDCWD, self, AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return code::Ok;
    return errno == EEXIST ? code::AlreadyExists : CodeForErrno(errno);
  }

  IoCode SetOwner(std::uint32_t owner, std::uint32_t group) override {
    openedSize_ = -1;
    struct stat st;
    if (::fstat(fd_, &st) != 0) return CodeForErrno(errno);
    if (st.st_uid == owner && st.st_gid == group) return code::Ok;
    // Only a privileged caller may give a file away; for anyone else the new
    // file stays theirs, as any file they make does.
    if (::fchown(fd_, static_cast<uid_t>(owner), static_cast<gid_t>(group)) != 0 &&
        errno != EPERM) {
      return CodeForErrno(errno);
    }
    return code::Ok;
  }

  IoCode Lock() override {
    openedSize_ = -1;
    int rc;
    do rc = ::flock(fd_, LOCK_EX);
    while (rc != 0 && errno == EINTR);
    return rc == 0 ? code::Ok : CodeForErrno(errno);
  }

  IoCode Info(FileInfo& info) override {
    openedSize_ = -1;
    struct stat st;
    if (::fstat(fd_, &st) != 0) return CodeForErrno(errno);
    info = FromStat(st);
    return code::Ok;
  }

  IoCode Close() override {
    openedSize_ = -1;
    const int fd = fd_;
    fd_ = -1;
    // The descriptor is gone after close() whatever it answers; never retry.
    return ::close(fd) == 0 ? code::Ok : CodeForErrno(errno);
  }

 private:
  int fd_;
  std::int64_t openedSize_;
};

class PosixFileSystem final : public FileSystem {
 public:
  IoCode Open(const std::string& name, Access access, Disposition disposition,
              std::unique_ptr<File>& file) override {
    file.reset();
    if (!UsableName(name)) return code::InvalidFilename;
    int flags = O_CLOEXEC | (access == Access::Read ? O_RDONLY : O_RDWR);
    switch (disposition) {
      case Disposition::OpenExisting:
        break;
      case Disposition::OpenAlways:
        flags |= O_CREAT;
        break;
      case Disposition::CreateAlways:
        flags |= O_CREAT | O_TRUNC;
        break;
      case Disposition::CreateNew:
        flags |= O_CREAT | O_EXCL;
        break;
    }
    // Non-blocking while opening, so that a FIFO or device under the name
    // cannot hang the caller; only regular files are word-list files.
    int fd;
    do fd = ::open(name.c_str(), flags | O_NONBLOCK, 0666);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
      const int err = errno;
      if (err == EEXIST && disposition == Disposition::CreateNew) return code::AlreadyExists;
      // A missing folder on the way to a file being made is an invalid name.
      if (disposition != Disposition::OpenExisting && (err == ENOENT || err == ENOTDIR)) {
        return code::InvalidFilename;
      }
      return CodeForErrno(err);
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) {
      const int err = errno;
      ::close(fd);
      return CodeForErrno(err);
    }
    if (!S_ISREG(st.st_mode)) {
      ::close(fd);
      return code::AccessDenied;
    }
    // O_NONBLOCK stays: it changes nothing for regular files.
    file = std::make_unique<PosixFile>(fd, static_cast<std::int64_t>(st.st_size));
    return code::Ok;
  }

  IoCode CreateUnnamed(const std::string& sibling, std::unique_ptr<File>& file) override {
    file.reset();
    // Naming the file later goes through /proc.
    static const bool procMounted = ::access("/proc/self/fd", X_OK) == 0;
    if (!procMounted || !UsableName(sibling)) return code::NotSupported;
    int fd;
    do fd = ::open(FolderOf(sibling).c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
      const int err = errno;
      // Kernels and file systems without unnamed files say so in these ways.
      if (err == EOPNOTSUPP || err == EISDIR || err == EINVAL) return code::NotSupported;
      return err == ENOENT || err == ENOTDIR ? code::InvalidFilename : CodeForErrno(err);
    }
    file = std::make_unique<PosixFile>(fd);
    return code::Ok;
  }

  IoCode Info(const std::string& name, FileInfo& info) override {
    if (!UsableName(name)) return code::InvalidFilename;
    struct stat st;
    if (::stat(name.c_str(), &st) != 0) return CodeForErrno(errno);
    info = FromStat(st);
    return code::Ok;
  }

  IoCode ResolveLinks(const std::string& name, std::string& target) override {
    if (!UsableName(name)) return code::InvalidFilename;
    std::string current = name;
    for (int hops = 0; hops < 40; ++hops) {
      struct stat st;
      if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
        target = current;
        return code::Ok;
      }
      char buffer[PATH_MAX];
      const ssize_t n = ::readlink(current.c_str(), buffer, sizeof buffer - 1);
      if (n < 0) return CodeForErrno(errno);
      std::string link(buffer, static_cast<std::size_t>(n));
      if (!link.empty() && link[0] != '/') {
        // A relative link is relative to the folder of the link itself.
        const auto slash = current.rfind('/');
        if (slash != std::string::npos) link = current.substr(0, slash + 1) + link;
      }
      current = link;
    }
    return CodeForErrno(ELOOP);
  }

  IoCode Rename(const std::string& from, const std::string& to) override {
    return ::rename(from.c_str(), to.c_str()) == 0 ? code::Ok : CodeForErrno(errno);
  }

  IoCode RenameNoReplace(const std::string& from, const std::string& to) override {
    if (!UsableName(from) || !UsableName(to)) return code::InvalidFilename;
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
      return code::Ok;
    }
    int err = errno;
    if (err == EINVAL || err == ENOSYS) {
      // A file system without the flag: a hard link is just as exclusive.
      if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return code::Ok;
      }
      err = errno;
    }
    return err == EEXIST ? code::AlreadyExists : CodeForErrno(err);
  }

  IoCode Delete(const std::string& name) override {
    if (!UsableName(name)) return code::InvalidFilename;
    return ::unlink(name.c_str()) == 0 ? code::Ok : CodeForErrno(errno);
  }

  IoCode SyncFolderOf(const std::string& name) override {
    const int fd = ::open(FolderOf(name).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return CodeForErrno(errno);
    const IoCode result = ::fsync(fd) == 0 ? code::Ok : CodeForErrno(errno);
    ::close(fd);
    return result;
  }
};

}  // namespace

FileSystem& FileSystem::Default() {
  static PosixFileSystem instance;
  return instance;
}

}  // namespace spellcheck::store

