// Small helpers shared by the store's tests.
#ifndef SPELLCHECK_TESTS_STORETESTHELPERS_H
#define SPELLCHECK_TESTS_STORETESTHELPERS_H

#include <spellcheck/SpellCheck.h>

#include <string>
#include <vector>

#include "store/FileSystem.h"

namespace spellcheck::testing {

// The code of the input/output error that `call` raises, or -1 when it
// raises none.
template <typename Call>
int IoErrorOf(Call&& call) {
  try {
    call();
  } catch (const EInOutError& error) {
    return error.ErrorCode;
  }
  return -1;
}

// Words "w0000", "w0001", ... in byte order.
inline std::vector<std::string> NumberedWords(int count, const std::string& stem = "w") {
  std::vector<std::string> words;
  for (int i = 0; i < count; ++i) {
    std::string digits = std::to_string(i);
    words.push_back(stem + std::string(4 - std::min<std::size_t>(4, digits.size()), '0') + digits);
  }
  return words;
}

inline store::FileSystem& Posix() {
  return store::FileSystem::Default();
}

}  // namespace spellcheck::testing

#endif
