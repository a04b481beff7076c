#include "support/FaultInjectingFileSystem.h"

namespace spellcheck::testing {
namespace {

using store::IoCode;

class FaultInjectingFile final : public store::File {
 public:
  FaultInjectingFile(FaultInjectingFileSystem& fs, std::unique_ptr<store::File> real)
      : fs_(fs), real_(std::move(real)) {}

  IoCode Size(std::uint64_t& bytes) override {
    if (const IoCode rc = fs_.NextStep()) return rc;
    return real_->Size(bytes);
  }
  IoCode Seek(std::uint64_t offset) override {
    if (const IoCode rc = fs_.NextStep()) return rc;
    return real_->Seek(offset);
  }
  IoCode Read(void* buffer, std::size_t size, std::size_t& got) override {
    got = 0;
    if (const IoCode rc = fs_.NextStep()) return rc;
    return real_->Read(buffer, size, got);
  }
  IoCode ReadAt(std::uint64_t offset, void* buffer, std::size_t size, std::size_t& got) override {
    got = 0;
    if (const IoCode rc = fs_.NextStep()) return rc;
    return real_->ReadAt(offset, buffer, size, got);
  }
  IoCode Write(const void* buffer, std::size_t size, std::size_t& put) override {
    put = 0;
    if (const IoCode rc = fs_.NextStep()) return rc;
    return real_->Write(buffer, size, put);
  }
  IoCode Sync() override {
    if (const IoCode rc = fs_.NextStep()) return rc;
    return real_->Sync();
  }
  IoCode SetMode(std::uint32_t mode) override {
    if (const IoCode rc = fs_.NextStep()) return rc;
    return real_->SetMode(mode);
  }
  IoCode Link(const std::string& name) override {
    if (const IoCode rc = fs_.NextStep()) return rc;
    return real_->Link(name);
  }
  IoCode SetOwner(std::uint32_t owner, std::uint32_t group) override {
    if (const IoCode rc = fs_.NextStep()) return rc;
    return real_->SetOwner(owner, group);
  }
  IoCode Lock() override {
    if (const IoCode rc = fs_.NextStep()) return rc;
    return real_->Lock();
  }
  IoCode Info(store::FileInfo& info) override {
    if (const IoCode rc = fs_.NextStep()) return rc;
    return real_->Info(info);
  }
  IoCode Close() override {
    const IoCode injected = fs_.NextStep();
    const IoCode rc = real_->Close();
    return injected ? injected : rc;
  }

 private:
  FaultInjectingFileSystem& fs_;
  std::unique_ptr<store::File> real_;
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

IoCode FaultInjectingFileSystem::Open(const std::string& name, store::Access access,
                                      store::Disposition disposition,
                                      std::unique_ptr<store::File>& file) {
  file.reset();
  if (const IoCode rc = NextStep()) return rc;
  std::unique_ptr<store::File> real;
  const IoCode rc = real_.Open(name, access, disposition, real);
  if (rc == store::code::Ok) file = std::make_unique<FaultInjectingFile>(*this, std::move(real));
  return rc;
}

IoCode FaultInjectingFileSystem::CreateUnnamed(const std::string& sibling,
                                               std::unique_ptr<store::File>& file) {
  file.reset();
  if (const IoCode rc = NextStep()) return rc;
  std::unique_ptr<store::File> real;
  const IoCode rc = real_.CreateUnnamed(sibling, real);
  if (rc == store::code::Ok) file = std::make_unique<FaultInjectingFile>(*this, std::move(real));
  return rc;
}

IoCode FaultInjectingFileSystem::Info(const std::string& name, store::FileInfo& info) {
  if (const IoCode rc = NextStep()) return rc;
  return real_.Info(name, info);
}

IoCode FaultInjectingFileSystem::ResolveLinks(const std::string& name, std::string& target) {
  if (const IoCode rc = NextStep()) return rc;
  return real_.ResolveLinks(name, target);
}

IoCode FaultInjectingFileSystem::Rename(const std::string& from, const std::string& to) {
  if (const IoCode rc = NextStep()) return rc;
  return real_.Rename(from, to);
}

IoCode FaultInjectingFileSystem::RenameNoReplace(const std::string& from, const std::string& to) {
  if (const IoCode rc = NextStep()) return rc;
  return real_.RenameNoReplace(from, to);
}

IoCode FaultInjectingFileSystem::Delete(const std::string& name) {
  if (const IoCode rc = NextStep()) return rc;
  return real_.Delete(name);
}

IoCode FaultInjectingFileSystem::SyncFolderOf(const std::string& name) {
  if (const IoCode rc = NextStep()) return rc;
  return real_.SyncFolderOf(name);
}

}  // namespace spellcheck::testing
