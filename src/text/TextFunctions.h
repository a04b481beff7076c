// First-letter helpers of the spelling services: a fixed test for a capital
// first byte, and the locale-aware change of a first letter's case.
#ifndef SPELLCHECK_TEXT_TEXTFUNCTIONS_H
#define SPELLCHECK_TEXT_TEXTFUNCTIONS_H

#include <string>
#include <string_view>

namespace spellcheck::text {

// True when the first byte is 'A'..'Z' or 0xC0..0xDE, whatever the locale.
bool IsCapitalized(std::string_view word);

// The word with its first byte upper-cased by the system's mapping.
std::string CapitalizeFirst(std::string_view word);

// The word with its first byte lower-cased by the system's mapping.
std::string LowerFirst(std::string_view word);

}  // namespace spellcheck::text

#endif
