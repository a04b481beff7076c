#include "suggest/WordLevels.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <utility>

#include "text/CaseMapping.h"

namespace spellcheck::suggest {

bool WordLevels::LoadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return false;
  LoadText(text);
  return true;
}

void WordLevels::LoadText(std::string_view text) {
  // One word a line: room for all of them at once, so the table never grows
  // (and rehashes) while they come in.
  const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
  std::size_t wanted = slots_.size() == 0 ? 1024 : slots_.size();
  while (wanted < (size_ + lines) * 2) wanted *= 2;
  if (wanted > slots_.size()) Rehash(wanted);
  pool_.reserve(pool_.size() + text.size());
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::size_t tab = line.find('\t');
    if (tab == 0 || tab == std::string_view::npos || tab + 1 == line.size()) continue;
    int level = 0;
    bool digits = true;
    for (char c : line.substr(0, tab)) {
      if (c < '0' || c > '9' || level > 1000) {
        digits = false;
        break;
      }
      level = level * 10 + (c - '0');
    }
    if (digits) Add(line.substr(tab + 1), level);
  }
}

namespace {

std::uint64_t HashOf(std::string_view word) {
  std::uint64_t h = 1469598103934665603ull;
  for (unsigned char c : word) {
    h ^= c;
    h *= 1099511628211ull;
  }
  h ^= h >> 31;
  h *= 0x94d049bb133111ebull;
  return h ^ (h >> 29);
}

}  // namespace

const WordLevels::Slot* WordLevels::Find(std::string_view word, std::uint64_t hash) const {
  if (slots_.empty()) return nullptr;
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t k = hash & mask;; k = (k + 1) & mask) {
    const Slot& slot = slots_[k];
    if (slot.level == 0) return &slot;
    if (slot.hash == hash && std::string_view(pool_).substr(slot.offset, slot.length) == word) {
      return &slot;
    }
  }
}

WordLevels::Slot* WordLevels::Find(std::string_view word, std::uint64_t hash) {
  return const_cast<Slot*>(std::as_const(*this).Find(word, hash));
}

void WordLevels::Grow() {
  Rehash(std::max<std::size_t>(1024, slots_.size() * 2));
}

void WordLevels::Rehash(std::size_t size) {
  std::vector<Slot> old(size);
  old.swap(slots_);
  const std::size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (slot.level == 0) continue;
    std::size_t k = slot.hash & mask;
    while (slots_[k].level != 0) k = (k + 1) & mask;
    slots_[k] = slot;
  }
}

void WordLevels::Add(std::string_view word, int level) {
  if (word.empty() || word.size() > 255) return;
  // Stored one above the level, so that 0 marks an empty slot.
  level = std::clamp(level, 0, kUnknown) + 1;
  if ((size_ + 1) * 2 > slots_.size()) Grow();
  const std::uint64_t hash = HashOf(word);
  Slot* slot = Find(word, hash);
  if (slot->level == 0) {
    *slot = {hash, static_cast<std::uint32_t>(pool_.size()), static_cast<std::uint8_t>(word.size()),
             static_cast<std::uint8_t>(level)};
    pool_ += word;
    ++size_;
  } else if (level < slot->level) {
    slot->level = static_cast<std::uint8_t>(level);
  }
}

int WordLevels::Exact(std::string_view word) const {
  const Slot* slot = Find(word, HashOf(word));
  return slot == nullptr || slot->level == 0 ? kUnknown : slot->level - 1;
}

int WordLevels::Level(std::string_view word) const {
  int level = Exact(word);
  if (level != kUnknown) return level;
  std::string key(word);
  if (level != kUnknown) return level;
  bool changed = false;
  for (char& c : key) {
    const char lower = static_cast<char>(text::Cp1252Lower(static_cast<unsigned char>(c)));
    changed |= lower != c;
    c = lower;
  }
  if (changed && (level = Exact(key)) != kUnknown) return level;
  if (word.size() > 2 && word.substr(word.size() - 2) == "'s") {
    return Level(word.substr(0, word.size() - 2));
  }
  return kUnknown;
}

}  // namespace spellcheck::suggest
