#include <spellcheck/SpellCheck.h>

#include "store/WordList.h"

namespace spellcheck::store {

bool InsertWord(FileSystem&, std::string_view, const std::string&) {
  throw Exception("InsertWord: not built yet");
}

}  // namespace spellcheck::store
