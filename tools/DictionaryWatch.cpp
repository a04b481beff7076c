#include "DictionaryWatch.h"

#include <ctime>

namespace spellcheck::tool {
namespace {

// File times move in coarse steps; a change this close to "now" could be
// followed by another one with the same time stamp.
constexpr long long RacyWindowNs = 100'000'000;

long long Nanoseconds(const timespec& t) {
  return static_cast<long long>(t.tv_sec) * 1'000'000'000LL + t.tv_nsec;
}

}  // namespace

bool DictionaryWatch::Seen::operator==(const Seen& other) const {
  return exists == other.exists && device == other.device && inode == other.inode &&
         size == other.size && mode == other.mode &&
         Nanoseconds(modified) == Nanoseconds(other.modified) &&
         Nanoseconds(changed) == Nanoseconds(other.changed);
}

DictionaryWatch::DictionaryWatch(std::vector<std::string> files) : files_(std::move(files)) {
  Changed();
}

DictionaryWatch::Seen DictionaryWatch::Look(const std::string& file, bool& racy) {
  Seen seen;
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0) return seen;
  seen = {true, st.st_dev, st.st_ino, st.st_size, st.st_mode, st.st_mtim, st.st_ctim};
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  const long long latest = std::max(Nanoseconds(st.st_mtim), Nanoseconds(st.st_ctim));
  if (Nanoseconds(now) - latest < RacyWindowNs) racy = true;
  return seen;
}

bool DictionaryWatch::Changed() {
  bool changed = racy_;
  racy_ = false;
  std::vector<Seen> now;
  now.reserve(files_.size());
  for (const std::string& file : files_) now.push_back(Look(file, racy_));
  if (now != seen_) changed = true;
  seen_ = std::move(now);
  return changed;
}

}  // namespace spellcheck::tool
