// A file-access layer for tests that passes every step to a real one and
// fails one chosen step with a chosen code. Every call counts as one step,
// whether it is made on the file system or on a file it opened. It can also
// let every read and write move fewer bytes than asked for, as a system may.
#ifndef SPELLCHECK_TESTS_FAULTINJECTINGFILESYSTEM_H
#define SPELLCHECK_TESTS_FAULTINJECTINGFILESYSTEM_H

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "store/FileSystem.h"

namespace spellcheck::testing {

class FaultInjectingFileSystem final : public store::ForwardingFileSystem {
 public:
  explicit FaultInjectingFileSystem(store::FileSystem& real) : ForwardingFileSystem(real) {}

  // Counts steps from 0 again and fails step number `step` (1 for the next
  // one) with `code`; 0 fails none. A failed step has no effect, except a
  // failed close, which still closes (as a close always does).
  void FailStep(long step, store::IoCode code);
  long Steps() const { return steps_; }
  bool Injected() const { return injected_; }
  // Every read and write moves at most `bytes` bytes (0: as many as asked for).
  void LimitTransfers(std::size_t bytes) { transferLimit_ = bytes; }
  std::size_t TransferLimit() const { return transferLimit_; }

  store::IoCode Open(const std::string& name, store::Access access, store::Disposition disposition,
                     std::unique_ptr<store::File>& file) override;
  store::IoCode CreateUnnamed(const std::string& sibling,
                              std::unique_ptr<store::File>& file) override;
  store::IoCode Info(const std::string& name, store::FileInfo& info) override;
  store::IoCode Attributes(const std::string& name, store::FileAttributes& attributes) override;
  store::IoCode ResolveLinks(const std::string& name, std::string& target) override;
  store::IoCode List(const std::string& folder, std::vector<std::string>& names) override;
  store::IoCode Rename(const std::string& from, const std::string& to) override;
  store::IoCode RenameNoReplace(const std::string& from, const std::string& to) override;
  store::IoCode Delete(const std::string& name) override;
  store::IoCode SyncFolderOf(const std::string& name) override;

  // The code with which the current step fails, or 0 when it goes ahead.
  store::IoCode NextStep();

 protected:
  std::unique_ptr<store::File> WrapFile(std::unique_ptr<store::File> file) override;

 private:
  std::atomic<long> steps_{0};
  std::atomic<long> failAt_{0};
  store::IoCode code_ = 0;
  std::atomic<bool> injected_{false};
  std::atomic<std::size_t> transferLimit_{0};
};

}  // namespace spellcheck::testing

#endif
