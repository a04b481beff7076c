#include "support/FaultInjectingFileSystem.h"

#include <algorithm>

namespace spellcheck::testing {
namespace {

using store::IoCode;

class FaultInjectingFile final : public store::ForwardingFile {
 public:
  FaultInjectingFile(FaultInjectingFileSystem& fs, std::unique_ptr<store::File> real)
      : ForwardingFile(std::move(real)), fs_(fs) {}

  IoCode Size(std::uint64_t& bytes) override {
    if (const IoCode rc = fs_.NextStep()) return rc;
    return ForwardingFile::Size(bytes);
  }
  IoCode Seek(std::uint64_t offset) override {
    if (const IoCode rc = fs_.NextStep()) return rc;
    return ForwardingFile::Seek(offset);
  }
  IoCode Read(void* buffer, std::size_t size, std::size_t& got) override {
    got = 0;
    if (const IoCode rc = fs_.NextStep()) return rc;
    return ForwardingFile::Read(buffer, Limited(size), got);
  }
  IoCode ReadAt(std::uint64_t offset, void* buffer, std::size_t size, std::size_t& got) override {
    got = 0;
    if (const IoCode rc = fs_.NextStep()) return rc;
    return ForwardingFile::ReadAt(offset, buffer, Limited(size), got);
  }
  IoCode Write(const void* buffer, std::size_t size, std::size_t& put) override {
    put = 0;
    if (const IoCode rc = fs_.NextStep()) return rc;
    return ForwardingFile::Write(buffer, Limited(size), put);
  }
  IoCode WriteAt(std::uint64_t offset, const void* buffer, std::size_t size,
                 std::size_t& put) override {
    put = 0;
    if (const IoCode rc = fs_.NextStep()) return rc;
    return ForwardingFile::WriteAt(offset, buffer, Limited(size), put);
  }
  IoCode Reserve(std::uint64_t bytes) override {
    if (const IoCode rc = fs_.NextStep()) return rc;
    return ForwardingFile::Reserve(bytes);
  }
  IoCode Truncate(std::uint64_t bytes) override {
    if (const IoCode rc = fs_.NextStep()) return rc;
    return ForwardingFile::Truncate(bytes);
  }
  IoCode Sync() override {
    if (const IoCode rc = fs_.NextStep()) return rc;
    return ForwardingFile::Sync();
  }
  IoCode SetMode(std::uint32_t mode) override {
    if (const IoCode rc = fs_.NextStep()) return rc;
    return ForwardingFile::SetMode(mode);
  }
  IoCode SetOwner(std::uint32_t owner, std::uint32_t group) override {
    if (const IoCode rc = fs_.NextStep()) return rc;
    return ForwardingFile::SetOwner(owner, group);
  }
  IoCode SetAttributes(const store::FileAttributes& attributes) override {
    if (const IoCode rc = fs_.NextStep()) return rc;
    return ForwardingFile::SetAttributes(attributes);
  }
  IoCode Link(const std::string& name) override {
    if (const IoCode rc = fs_.NextStep()) return rc;
    return ForwardingFile::Link(name);
  }
  IoCode Lock() override {
    if (const IoCode rc = fs_.NextStep()) return rc;
    return ForwardingFile::Lock();
  }
  IoCode TryLock(bool& taken) override {
    taken = false;
    if (const IoCode rc = fs_.NextStep()) return rc;
    return ForwardingFile::TryLock(taken);
  }
  IoCode Info(store::FileInfo& info) override {
    if (const IoCode rc = fs_.NextStep()) return rc;
    return ForwardingFile::Info(info);
  }
  IoCode Close() override {
    const IoCode injected = fs_.NextStep();
    const IoCode rc = ForwardingFile::Close();
    return injected ? injected : rc;
  }

 private:
  std::size_t Limited(std::size_t size) const {
    const std::size_t limit = fs_.TransferLimit();
    return limit == 0 ? size : std::min(size, limit);
  }

  FaultInjectingFileSystem& fs_;
};

}  // namespace

void FaultInjectingFileSystem::FailStep(long step, store::IoCode code) {
  steps_ = 0;
  failAt_ = step;
  code_ = code;
  injected_ = false;
}

IoCode FaultInjectingFileSystem::NextStep() {
  const long step = ++steps_;
  if (step != failAt_) return store::code::Ok;
  injected_ = true;
  return code_;
}

std::unique_ptr<store::File> FaultInjectingFileSystem::WrapFile(std::unique_ptr<store::File> file) {
  return std::make_unique<FaultInjectingFile>(*this, std::move(file));
}

IoCode FaultInjectingFileSystem::Open(const std::string& name, store::Access access,
                                      store::Disposition disposition,
                                      std::unique_ptr<store::File>& file) {
  file.reset();
  if (const IoCode rc = NextStep()) return rc;
  return ForwardingFileSystem::Open(name, access, disposition, file);
}

IoCode FaultInjectingFileSystem::CreateUnnamed(const std::string& sibling,
                                               std::unique_ptr<store::File>& file) {
  file.reset();
  if (const IoCode rc = NextStep()) return rc;
  return ForwardingFileSystem::CreateUnnamed(sibling, file);
}

IoCode FaultInjectingFileSystem::Info(const std::string& name, store::FileInfo& info) {
  if (const IoCode rc = NextStep()) return rc;
  return ForwardingFileSystem::Info(name, info);
}

IoCode FaultInjectingFileSystem::Attributes(const std::string& name,
                                            store::FileAttributes& attributes) {
  if (const IoCode rc = NextStep()) return rc;
  return ForwardingFileSystem::Attributes(name, attributes);
}

IoCode FaultInjectingFileSystem::ResolveLinks(const std::string& name, std::string& target) {
  if (const IoCode rc = NextStep()) return rc;
  return ForwardingFileSystem::ResolveLinks(name, target);
}

IoCode FaultInjectingFileSystem::List(const std::string& folder, std::vector<std::string>& names) {
  if (const IoCode rc = NextStep()) return rc;
  return ForwardingFileSystem::List(folder, names);
}

IoCode FaultInjectingFileSystem::Rename(const std::string& from, const std::string& to) {
  if (const IoCode rc = NextStep()) return rc;
  return ForwardingFileSystem::Rename(from, to);
}

IoCode FaultInjectingFileSystem::RenameNoReplace(const std::string& from, const std::string& to) {
  if (const IoCode rc = NextStep()) return rc;
  return ForwardingFileSystem::RenameNoReplace(from, to);
}

IoCode FaultInjectingFileSystem::Delete(const std::string& name) {
  if (const IoCode rc = NextStep()) return rc;
  return ForwardingFileSystem::Delete(name);
}

IoCode FaultInjectingFileSystem::SyncFolderOf(const std::string& name) {
  if (const IoCode rc = NextStep()) return rc;
  return ForwardingFileSystem::SyncFolderOf(name);
}

}  // namespace spellcheck::testing
