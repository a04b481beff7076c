// Suggestion lists: words joined by ", ".
#ifndef SPELLCHECK_SERVICES_SUGGESTIONLIST_H
#define SPELLCHECK_SERVICES_SUGGESTIONLIST_H

#include <string>
#include <string_view>
#include <vector>

namespace spellcheck::services {

// The words joined by ", ".
std::string JoinWords(const std::vector<std::string>& words);

// Joins one dictionary's part to the list collected so far. A collected list
// of at most 2 characters is replaced by the part; otherwise ", " and the part
// are appended, even when the part is empty.
void JoinPart(std::string& collected, std::string_view part);

// The list's words (each cut to 24 characters) without duplicates, in
// ascending byte order. Duplicates become single-blank entries that are
// sorted with the rest and written as nothing, so an odd list can keep a
// separator at its start or end.
std::string TidySuggestions(std::string_view list);

}  // namespace spellcheck::services

#endif
