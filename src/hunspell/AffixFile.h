// Reads the bytes of a .aff file into AffixData.
#ifndef SPELLCHECK_HUNSPELL_AFFIXFILE_H
#define SPELLCHECK_HUNSPELL_AFFIXFILE_H

#include <string>
#include <string_view>
#include <vector>

#include "hunspell/AffixData.h"

namespace spellcheck::hunspell {

// Lines that cannot be used are skipped and reported as "NAME:LINE: what".
// Throws LoadError when the character set is unknown.
void ReadAffixFile(std::string_view bytes, std::string_view name, AffixData& data,
                   std::vector<std::string>* warnings);

// Splits a text into lines (without "\r\n"), dropping a UTF-8 byte order mark.
std::vector<std::string_view> SplitLines(std::string_view bytes);
std::vector<std::string_view> SplitFields(std::string_view line);

// The flags of a field in the dictionary's notation, through the AF aliases
// when the file has them.
bool ResolveFlags(const AffixData& data, std::string_view field, FlagSet& out, std::string& error);

}  // namespace spellcheck::hunspell

#endif
