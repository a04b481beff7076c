// How common a word is: SCOWL size levels (10 the commonest words, 95 the
// rarest) read from a text file of LEVEL<TAB>WORD lines in code page 1252.
#ifndef SPELLCHECK_SUGGEST_WORDLEVELS_H
#define SPELLCHECK_SUGGEST_WORDLEVELS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace spellcheck::suggest {

class WordLevels {
 public:
  // The level of the commonest words; words the user added count as these.
  static constexpr int kCommon = 10;
  // The answer for a word the list does not hold: rarer than any level.
  static constexpr int kUnknown = 100;

  // Reads a file of LEVEL<TAB>WORD lines; false when it cannot be read.
  // Lines that do not have that form are skipped.
  bool LoadFile(const std::string& path);
  // The same from text already in memory (LF or CRLF line ends).
  void LoadText(std::string_view text);
  // A word listed twice keeps its lowest level.
  void Add(std::string_view word, int level);

  // The word's level; else that of its lower-case form (a capitalised word at
  // the start of a sentence), else that of the stem of a possessive "'s";
  // else kUnknown.
  int Level(std::string_view word) const;
  std::size_t Size() const { return size_; }

 private:
  // An open-addressing table over one pool of word bytes: looked up once per
  // dictionary word when an index is built, so it must stay cache friendly.
  struct Slot {
    std::uint64_t hash = 0;
    std::uint32_t offset = 0;
    std::uint8_t length = 0;
    std::uint8_t level = 0;  // 0: empty
  };

  int Exact(std::string_view word) const;
  Slot* Find(std::string_view word, std::uint64_t hash);
  const Slot* Find(std::string_view word, std::uint64_t hash) const;
  void Grow();
  // Puts the words into a table of `size` slots (a power of two).
  void Rehash(std::size_t size);

  std::string pool_;
  std::vector<Slot> slots_;
  std::size_t size_ = 0;
};

}  // namespace spellcheck::suggest

#endif
