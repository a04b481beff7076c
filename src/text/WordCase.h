// Case forms of whole words in code page 1252, on the fixed table (the
// dictionaries' character set, whatever the platform or locale).
#ifndef SPELLCHECK_TEXT_WORDCASE_H
#define SPELLCHECK_TEXT_WORDCASE_H

#include <string>
#include <string_view>

namespace spellcheck::text {

// True when the word has two or more letters and every letter is a capital.
bool IsAllCapitals(std::string_view word);

// The first character kept and the rest in small letters: the form whose
// check also covers the all-small form ("NASA" -> "Nasa").
std::string CapitalisedForm(std::string_view word);

std::string UpperCase(std::string_view word);
std::string LowerCase(std::string_view word);

}  // namespace spellcheck::text

#endif
