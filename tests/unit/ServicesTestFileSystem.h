// A file system for the services' tests: the platform's own, recording which
// files are opened and failing chosen steps on demand.
#ifndef SPELLCHECK_TESTS_SERVICESTESTFILESYSTEM_H
#define SPELLCHECK_TESTS_SERVICESTESTFILESYSTEM_H

#include <memory>
#include <string>
#include <vector>

#include "store/FileSystem.h"

namespace spellcheck::testing {

class RecordingFileSystem final : public store::ForwardingFileSystem {
 public:
  RecordingFileSystem() : ForwardingFileSystem(store::FileSystem::Default()) {}

  // Names passed to Open, in call order.
  std::vector<std::string> opened;
  // Bytes a file named `failName` yields before its reads fail (-1: never).
  std::string failName;
  long long readableBytes = -1;
  store::IoCode readFailure = 5;
  // The close of a file named `failName` fails with this code (0: never).
  store::IoCode closeFailure = 0;

  store::IoCode Open(const std::string& name, store::Access access, store::Disposition disposition,
                     std::unique_ptr<store::File>& file) override {
    opened.push_back(name);
    const store::IoCode rc = real_.Open(name, access, disposition, file);
    if (rc == store::code::Ok && name == failName) {
      file = std::make_unique<FailingFile>(std::move(file), *this);
    }
    return rc;
  }
  store::IoCode Info(const std::string& name, store::FileInfo& info) override {
    return real_.Info(name, info);
  }
  store::IoCode ResolveLinks(const std::string& name, std::string& target) override {
    return real_.ResolveLinks(name, target);
  }
  store::IoCode Rename(const std::string& from, const std::string& to) override {
    return real_.Rename(from, to);
  }
  store::IoCode RenameNoReplace(const std::string& from, const std::string& to) override {
    return real_.RenameNoReplace(from, to);
  }
  store::IoCode Delete(const std::string& name) override { return real_.Delete(name); }
  store::IoCode SyncFolderOf(const std::string& name) override { return real_.SyncFolderOf(name); }

 private:
  class FailingFile final : public store::ForwardingFile {
   public:
    FailingFile(std::unique_ptr<store::File> inner, RecordingFileSystem& owner)
        : ForwardingFile(std::move(inner)), inner_(&Target()), owner_(owner) {}
    store::IoCode Size(std::uint64_t& bytes) override { return inner_->Size(bytes); }
    store::IoCode Seek(std::uint64_t offset) override {
      position_ = offset;
      return inner_->Seek(offset);
    }
    store::IoCode Read(void* buffer, std::size_t size, std::size_t& got) override {
      const store::IoCode rc = ReadAt(position_, buffer, size, got);
      position_ += got;
      static_cast<void>(inner_->Seek(position_));
      return rc;
    }
    store::IoCode ReadAt(std::uint64_t offset, void* buffer, std::size_t size,
                         std::size_t& got) override {
      got = 0;
      if (owner_.readableBytes >= 0) {
        const auto limit = static_cast<std::uint64_t>(owner_.readableBytes);
        if (offset + size > limit) {
          // The readable part comes first, as a device would hand it over.
          if (offset < limit)
            static_cast<void>(inner_->ReadAt(offset, buffer, limit - offset, got));
          if (got == 0) return owner_.readFailure;
          return store::code::Ok;
        }
      }
      return inner_->ReadAt(offset, buffer, size, got);
    }
    store::IoCode Write(const void* buffer, std::size_t size, std::size_t& put) override {
      return inner_->Write(buffer, size, put);
    }
    store::IoCode Sync() override { return inner_->Sync(); }
    store::IoCode SetMode(std::uint32_t mode) override { return inner_->SetMode(mode); }
    store::IoCode Lock() override { return inner_->Lock(); }
    store::IoCode Info(store::FileInfo& info) override { return inner_->Info(info); }
    store::IoCode Close() override {
      const store::IoCode rc = inner_->Close();
      return owner_.closeFailure != 0 ? owner_.closeFailure : rc;
    }

   private:
    store::File* inner_;
    RecordingFileSystem& owner_;
    std::uint64_t position_ = 0;
  };

  store::FileSystem& real_ = store::FileSystem::Default();
};

}  // namespace spellcheck::testing

#endif
