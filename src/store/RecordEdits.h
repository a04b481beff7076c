// The changes of the store's operations, applied to records in memory. Each
// gives exactly the records that the operation's steps would leave in the file.
#ifndef SPELLCHECK_STORE_RECORDEDITS_H
#define SPELLCHECK_STORE_RECORDEDITS_H

#include <cstddef>
#include <string_view>
#include <vector>

#include "store/TvarWord.h"

namespace spellcheck::store {

using Records = std::vector<TvarWord>;

// The lookup's answer for records that are the file's contents.
bool ProbeRecords(const Records& records, std::string_view word, bool ignoreCase);

// Where an insertion puts `word`: before the first record i+1 greater than the
// word whose predecessor i is less than it, scanning from the front; at the
// front when record 0 is not less than the word; at the end otherwise. In an
// ordered list this is the first greater record.
std::size_t InsertionPoint(const Records& records, std::string_view word);

// One insertion: false (nothing changed) when the exact lookup finds the
// word; otherwise its stored form goes to its insertion point.
bool InsertRecord(Records& records, std::string_view word);

// Takes out every record matching the word, exactly or after ASCII
// lower-casing of both. Answers how many went.
std::size_t RemoveMatching(Records& records, std::string_view word, bool ignoreCase);

// The outcome of inserting every source record into the target, one by one in
// source order. Answers whether the target changed.
bool MergeRecords(Records& target, const Records& source);

}  // namespace spellcheck::store

#endif
