// A file-access layer for tests that shows a file whose modification time
// was set an hour back as one that has not changed since: as a dictionary
// left alone for a while looks, whose contents may be kept and compiled while
// it stays so. (Setting the time moves the change time to now, which would
// keep them from it for a second.)
#ifndef SPELLCHECK_TESTS_SETTLEDFILES_H
#define SPELLCHECK_TESTS_SETTLEDFILES_H

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "store/FileSystem.h"

namespace spellcheck::testing {

class SettledFiles final : public store::ForwardingFileSystem {
 public:
  SettledFiles() : ForwardingFileSystem(store::FileSystem::Default()) {}
  store::IoCode Info(const std::string& name, store::FileInfo& info) override {
    const store::IoCode rc = ForwardingFileSystem::Info(name, info);
    Age(info);
    return rc;
  }

 private:
  static void Age(store::FileInfo& info) {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto halfAnHourAgo =
        std::chrono::duration_cast<std::chrono::nanoseconds>(now - std::chrono::minutes(30));
    if (info.modifiedNs < halfAnHourAgo.count()) info.changedNs = info.modifiedNs;
  }
  class File final : public store::ForwardingFile {
   public:
    using ForwardingFile::ForwardingFile;
    store::IoCode Info(store::FileInfo& info) override {
      const store::IoCode rc = ForwardingFile::Info(info);
      Age(info);
      return rc;
    }
  };
  std::unique_ptr<store::File> WrapFile(std::unique_ptr<store::File> file) override {
    return std::make_unique<File>(std::move(file));
  }
};

// Gives a file a time stamp an hour old, as a dictionary that has been left
// alone for a while has (a fresh time stamp makes the session read it anew).
inline void Backdate(const std::string& path) {
  std::error_code error;
  std::filesystem::last_write_time(
      path, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1), error);
  ASSERT_FALSE(error) << error.message();
}

}  // namespace spellcheck::testing

#endif
