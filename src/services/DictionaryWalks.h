// The order in which the word check and the suggestion list consult
// dictionaries, independent of how one dictionary is read: the checker reads
// the files afresh on every call, a batch session keeps them in memory.
#ifndef SPELLCHECK_SERVICES_DICTIONARYWALKS_H
#define SPELLCHECK_SERVICES_DICTIONARYWALKS_H

#include <spellcheck/SpellCheck.h>

#include <array>
#include <string>
#include <string_view>

#include "checker/SpellerCheck.h"
#include "services/SuggestionList.h"
#include "text/TextFunctions.h"

namespace spellcheck::services {

// The ten further dictionaries; a default marker among them ends the list.
using FurtherDictionaries = std::array<const char*, 10>;

// For the word check a default Dic1 is always the custom dictionary.
inline FurtherDictionaries FurtherForCheck(const char* custDic, const FurtherDictionaries& given) {
  FurtherDictionaries list = given;
  if (IsDefaultMarker(given[0])) list[0] = custDic;
  return list;
}

// For suggestions a default Dic1 is the custom dictionary only when the main
// dictionary is the default too; otherwise it ends the list at once.
inline FurtherDictionaries FurtherForSuggestions(const char* mainDic, const char* custDic,
                                                 const FurtherDictionaries& given) {
  FurtherDictionaries list = given;
  if (IsDefaultMarker(given[0]) && IsDefaultMarker(mainDic)) list[0] = custDic;
  return list;
}

// `find(word, fileName)` answers whether one dictionary holds the word. A
// capitalised word is also accepted in its lowered form, which is tried first.
template <class Find>
bool CheckAcross(std::string_view word, bool useExtra, const std::string& mainFile,
                 const FurtherDictionaries& further, Find&& find) {
  const bool capitalized = text::IsCapitalized(word);
  const std::string lowered = capitalized ? text::LowerFirst(word) : std::string();
  auto holds = [&](const std::string& fileName) {
    if (capitalized && find(std::string_view(lowered), fileName)) return true;
    return static_cast<bool>(find(word, fileName));
  };

  if (holds(mainFile)) return true;
  if (!useExtra) return false;
  for (const char* entry : further) {
    if (IsDefaultMarker(entry)) return false;
    if (holds(OwnedText(entry))) return true;
  }
  return false;
}

// `collect(word, fileName)` gives one dictionary's suggestion list.
template <class Collect>
std::string SuggestAcross(std::string_view word, bool useExtra, const std::string& mainFile,
                          const FurtherDictionaries& further, Collect&& collect) {
  if (word.size() < 2) return std::string();
  std::string collected = collect(word, mainFile);
  if (!useExtra) return collected;
  for (const char* entry : further) {
    if (IsDefaultMarker(entry)) break;
    JoinPart(collected, collect(word, OwnedText(entry)));
  }
  return TidySuggestions(collected);
}

}  // namespace spellcheck::services

#endif
