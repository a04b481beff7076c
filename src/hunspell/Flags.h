// Affix and word flags: how a dictionary writes them (FLAG) and the sorted
// sets that words and affixes carry.
#ifndef SPELLCHECK_HUNSPELL_FLAGS_H
#define SPELLCHECK_HUNSPELL_FLAGS_H

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace spellcheck::hunspell {

// 0 is no flag: options that are not set hold it, and it is never parsed.
using Flag = std::uint16_t;
using FlagSet = std::vector<Flag>;  // sorted, without repeats

enum class FlagType { Byte, Long, Number, Utf8 };

inline bool HasFlag(const FlagSet& set, Flag flag) {
  return flag != 0 && std::binary_search(set.begin(), set.end(), flag);
}

// Parses a field of flags written as `type` (raw bytes of the file). False,
// with `error` set, when the field is malformed or a flag is out of range;
// the flags that could be read are kept.
bool ParseFlags(std::string_view field, FlagType type, FlagSet& out, std::string& error);

// One flag (an option's value); false when the field holds none.
bool ParseFlag(std::string_view field, FlagType type, Flag& out);

}  // namespace spellcheck::hunspell

#endif
