#include "checker/SpellerCheck.h"

namespace spellcheck {

const char* SpellerCheck::SuggestWords(const char*, bool, bool, const char*, const char*,
                                       const char*, const char*, const char*, const char*,
                                       const char*, const char*, const char*, const char*,
                                       const char*) {
  throw Exception("SuggestWords: not built yet");
}

}  // namespace spellcheck
