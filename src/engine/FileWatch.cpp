#include "engine/FileWatch.h"

#include <chrono>

namespace spellcheck::engine {
namespace {

// Longer than the coarsest time-stamp step of the file systems in use.
constexpr std::int64_t QuietNs = 1'000'000'000;

}  // namespace

bool FileState::operator==(const FileState& other) const {
  if (exists != other.exists) return false;
  if (!exists) return true;
  const store::FileInfo& a = info;
  const store::FileInfo& b = other.info;
  return a.SameFile(b) && a.size == b.size && a.mode == b.mode && a.modifiedNs == b.modifiedNs &&
         a.changedNs == b.changedNs;
}

void AddTo(compiled::Key& key, const std::string& name, const FileState& state) {
  const store::FileInfo& info = state.info;
  key.Add(name).Add(state.exists ? 1 : 0).Add(info.device).Add(info.inode).Add(info.size);
  key.Add(static_cast<std::uint64_t>(info.modifiedNs))
      .Add(static_cast<std::uint64_t>(info.changedNs));
  key.Add(info.mode);
}

FileState LookAt(store::FileSystem& fs, const std::string& name) {
  FileState state;
  state.exists = fs.Info(name, state.info) == store::code::Ok;
  if (!state.exists) state.info = store::FileInfo{};
  return state;
}

bool Settled(const FileState& state, std::int64_t readAtNs) {
  if (!state.exists) return true;
  // Every change of the contents moves the change time, whatever is done to
  // the modification time.
  const std::int64_t stamp = state.info.changedNs;
  if (stamp > readAtNs) return true;
  return stamp <= readAtNs - QuietNs;
}

std::int64_t WallClockNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace spellcheck::engine
