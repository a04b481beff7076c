#include <spellcheck/SpellCheck.h>

#include "store/WordList.h"

namespace spellcheck::store {

bool MergeWordList(FileSystem&, const std::string&, const std::string&) {
  throw Exception("MergeWordList: not built yet");
}

}  // namespace spellcheck::store
