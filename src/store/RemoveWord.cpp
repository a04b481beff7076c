#include <spellcheck/SpellCheck.h>

#include "store/WordList.h"

namespace spellcheck::store {

bool RemoveWord(FileSystem&, std::string_view, const std::string&, bool) {
  throw Exception("RemoveWord: not built yet");
}

}  // namespace spellcheck::store
