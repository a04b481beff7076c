#include "DictionaryWatch.h"

#include <chrono>

namespace spellcheck::tool {
namespace {

// File times move in coarse steps; a change this close to "now" could be
// followed by another one with the same time stamp.
constexpr long long RacyWindowNs = 100'000'000;

long long NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace

bool DictionaryWatch::Seen::operator==(const Seen& other) const {
  if (exists != other.exists) return false;
  return !exists || (info.SameFile(other.info) && info.size == other.info.size &&
                     info.mode == other.info.mode && info.modifiedNs == other.info.modifiedNs);
}

DictionaryWatch::DictionaryWatch(std::vector<std::string> files) : files_(std::move(files)) {
  Changed();
}

DictionaryWatch::Seen DictionaryWatch::Look(const std::string& file, bool& racy) {
  Seen seen;
  if (store::FileSystem::Default().Info(file, seen.info) != store::code::Ok) return seen;
  seen.exists = true;
  if (NowNs() - seen.info.modifiedNs < RacyWindowNs) racy = true;
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
