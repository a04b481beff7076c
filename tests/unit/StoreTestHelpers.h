// Small helpers shared by the store's tests.
#ifndef SPELLCHECK_TESTS_STORETESTHELPERS_H
#define SPELLCHECK_TESTS_STORETESTHELPERS_H

#include <spellcheck/SpellCheck.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#if !defined(_WIN32)
#include <unistd.h>
#endif

#include "store/FileSystem.h"
#include "support/TestFiles.h"

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

#if !defined(_WIN32)
// What `body` returns in a child without root's privileges (RunUnprivileged),
// passed through a pipe rather than the exit status, which a memory checker
// replaces when it found anything in the process. -1 when the body threw.
inline int ResultOfUnprivileged(const std::function<int()>& body) {
  int ends[2];
  if (::pipe(ends) != 0) return -1;
  std::fflush(stdout);  // or the child may write the parent's pending output again
  RunUnprivileged([&] {
    const int result = body();
    return ::write(ends[1], &result, sizeof result) == sizeof result ? 0 : 1;
  });
  ::close(ends[1]);
  int result = -1;
  if (::read(ends[0], &result, sizeof result) != sizeof result) result = -1;
  ::close(ends[0]);
  return result;
}
#endif

inline store::FileSystem& Posix() {
  return store::FileSystem::Default();
}

}  // namespace spellcheck::testing

#endif
