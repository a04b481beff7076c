#include "checker/SpellerCheck.h"

namespace spellcheck {

bool SpellerCheck::CheckWord(const char*, bool, bool, const char*, const char*, const char*,
                             const char*, const char*, const char*, const char*, const char*,
                             const char*, const char*, const char*) {
  throw Exception("CheckWord: not built yet");
}

}  // namespace spellcheck
