// The similar-word scan of one dictionary file.
#ifndef SPELLCHECK_SERVICES_SIMILARWORDS_H
#define SPELLCHECK_SERVICES_SIMILARWORDS_H

#include <string>
#include <string_view>

#include "store/FileSystem.h"

namespace spellcheck::services {

// The stored words of `fileName` that resemble `word`, in file order, joined
// by ", ". Empty for an absent file and for an empty word. A read that fails
// part-way ends the scan with the words found so far; a failing size query or
// close raises EInOutError.
std::string CollectSimilar(store::FileSystem& fs, std::string_view word,
                           const std::string& fileName);

}  // namespace spellcheck::services

#endif
