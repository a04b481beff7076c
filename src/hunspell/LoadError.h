// Raised when a dictionary's files leave nothing usable.
#ifndef SPELLCHECK_HUNSPELL_LOADERROR_H
#define SPELLCHECK_HUNSPELL_LOADERROR_H

#include <stdexcept>
#include <string>

namespace spellcheck::hunspell {

class LoadError : public std::runtime_error {
 public:
  explicit LoadError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace spellcheck::hunspell

#endif
