// Operations on one word-list file. Each opens the files it needs, closes
// them before it returns and keeps nothing between calls. Failures other than
// an absent dictionary raise spellcheck::EInOutError.
#ifndef SPELLCHECK_STORE_WORDLIST_H
#define SPELLCHECK_STORE_WORDLIST_H

#include <string>
#include <string_view>
#include <vector>

#include "store/FileSystem.h"
#include "store/TvarWord.h"

namespace spellcheck::store {

// Binary search for `word` (compared whole, never cut). With `ignoreCase` a
// probed record equal to the word after ASCII lower-casing also counts.
// False for an absent or empty file.
bool FindWord(FileSystem& fs, std::string_view word, const std::string& fileName, bool ignoreCase);
class RecordFile;
// The same search in a file already open for reading; leaves it open.
bool FindWordIn(RecordFile& file, std::string_view word, bool ignoreCase);

// Inserts the word (its first 24 characters) in byte order, creating the file
// when absent. False when the file already holds the word exactly.
bool InsertWord(FileSystem& fs, std::string_view word, const std::string& fileName);

// Removes every record matching the word; deletes the file when that empties
// it. False when the file is absent or does not hold the word.
bool RemoveWord(FileSystem& fs, std::string_view word, const std::string& fileName,
                bool ignoreCase);

// Inserts every record of the source into the target, then deletes the
// source. False when the source cannot be opened.
bool MergeWordList(FileSystem& fs, const std::string& targetFile, const std::string& sourceFile);

// Makes `fileName` hold exactly `records`, replacing what it held, the way
// every change is made: locked, the new contents written beside it and put in
// its place in one step (its owner, group and permission bits kept).
void WriteWordList(FileSystem& fs, const std::string& fileName,
                   const std::vector<TvarWord>& records);

// Whether the caller may change the dictionary `fileName`: Ok when it exists
// and can be opened for writing; FileNotFound when no file has the name;
// otherwise the code with which it is refused (AccessDenied for a file that
// is read-only to the caller). Tells a dictionary that the caller may not
// change from one that is not there, which the operations above answer alike.
IoCode CanChange(FileSystem& fs, const std::string& fileName);

}  // namespace spellcheck::store

#endif
