#include "checker/SpellerCheck.h"

namespace spellcheck {

bool SpellerCheck::AddWord(const char*, const char*) { throw Exception("AddWord: not built yet"); }

bool SpellerCheck::DeleteWord(const char*, bool, bool, const char*, const char*) {
  throw Exception("DeleteWord: not built yet");
}

bool SpellerCheck::MergeDictionary(const char*, const char*) {
  throw Exception("MergeDictionary: not built yet");
}

}  // namespace spellcheck
