// The similar-word scan of one dictionary file.
#ifndef SPELLCHECK_SERVICES_SIMILARWORDS_H
#define SPELLCHECK_SERVICES_SIMILARWORDS_H

#include <string>
#include <string_view>
#include <vector>

#include "store/FileSystem.h"
#include "store/RecordFile.h"

namespace spellcheck::services {

// Appends the stored words of `fileName` that resemble `word` to `result`, in
// file order. Nothing for an absent file and for an empty word. A read that
// fails part-way ends the scan with the words found so far; a failing size
// query or close raises EInOutError.
void CollectSimilar(store::FileSystem& fs, std::string_view word, const std::string& fileName,
                    std::vector<std::string>& result);
// The same scan of a file already open for reading; leaves it open.
void CollectSimilarIn(store::RecordFile& file, std::string_view word,
                      std::vector<std::string>& result);

}  // namespace spellcheck::services

#endif
