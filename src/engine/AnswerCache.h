// Answers remembered for recently checked words, in a fixed table: the words
// of a text repeat (a few hundred words make up half of any English text), so
// most checks are answered by one hash and one compare. Its size is fixed in
// bytes whatever the input; a word that collides with another replaces it.
#ifndef SPELLCHECK_ENGINE_ANSWERCACHE_H
#define SPELLCHECK_ENGINE_ANSWERCACHE_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace spellcheck::engine {

class AnswerCache {
 public:
  // Words of up to this many bytes are remembered.
  static constexpr std::size_t MaxWordBytes = 30;

  AnswerCache() : entries_(Slots) {}

  // True when an answer for the word is remembered, then in `answer`.
  bool Find(std::string_view word, bool& answer) const {
    if (word.size() > MaxWordBytes || word.empty()) return false;
    const Entry& entry = entries_[SlotOf(word)];
    if (entry.length != word.size() || !Same(entry.bytes, word)) return false;
    answer = entry.answer != 0;
    return true;
  }

  void Put(std::string_view word, bool answer) {
    if (word.size() > MaxWordBytes || word.empty()) return;
    Entry& entry = entries_[SlotOf(word)];
    entry.length = static_cast<std::uint8_t>(word.size());
    std::memcpy(entry.bytes, word.data(), word.size());
    entry.answer = answer ? 1 : 0;
  }

  void Clear() {
    for (Entry& entry : entries_) entry.length = 0;
  }

 private:
  static constexpr std::size_t Slots = 8192;  // 256 KiB

  struct Entry {
    std::uint8_t length = 0;  // 0: empty
    char bytes[MaxWordBytes] = {};
    std::uint8_t answer = 0;
  };
  static_assert(sizeof(Entry) == 32);

  static std::uint64_t Load8(const char* p) {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
  }
  static std::uint32_t Load4(const char* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
  }

  // The word's bytes as two numbers, from loads that may overlap but never
  // reach outside it; together with the length they tell words apart.
  static void Summary(std::string_view word, std::uint64_t& a, std::uint64_t& b) {
    const char* p = word.data();
    const std::size_t n = word.size();
    if (n >= 8) {
      a = Load8(p);
      b = Load8(p + n - 8);
      if (n > 16) a ^= Load8(p + 8) * 0x9E3779B97F4A7C15ull;
    } else if (n >= 4) {
      a = Load4(p);
      b = Load4(p + n - 4);
    } else {
      a = static_cast<unsigned char>(p[0]);
      b = static_cast<std::uint64_t>(static_cast<unsigned char>(p[n / 2])) << 8 |
          static_cast<unsigned char>(p[n - 1]);
    }
  }

  static std::size_t SlotOf(std::string_view word) {
    std::uint64_t a = 0;
    std::uint64_t b = 0;
    Summary(word, a, b);
    std::uint64_t hash = (a ^ (word.size() * 0xC2B2AE3D27D4EB4Full)) * 0x9E3779B97F4A7C15ull;
    hash ^= b * 0x165667B19E3779F9ull;
    hash ^= hash >> 31;
    return static_cast<std::size_t>(hash * 0xBF58476D1CE4E5B9ull >> 51) & (Slots - 1);
  }

  // Equal bytes, eight at a time; the last eight may overlap the ones before.
  static bool Same(const char* stored, std::string_view word) {
    const char* p = word.data();
    const std::size_t n = word.size();
    if (n < 8) {
      if (n >= 4) return Load4(stored) == Load4(p) && Load4(stored + n - 4) == Load4(p + n - 4);
      for (std::size_t i = 0; i < n; ++i) {
        if (stored[i] != p[i]) return false;
      }
      return true;
    }
    for (std::size_t i = 0; i + 8 < n; i += 8) {
      if (Load8(stored + i) != Load8(p + i)) return false;
    }
    return Load8(stored + n - 8) == Load8(p + n - 8);
  }

  std::vector<Entry> entries_;
};

}  // namespace spellcheck::engine

#endif
