// Reads the bytes of a .dic file into the word table.
#ifndef SPELLCHECK_HUNSPELL_DICFILE_H
#define SPELLCHECK_HUNSPELL_DICFILE_H

#include <string>
#include <string_view>
#include <vector>

#include "hunspell/AffixData.h"
#include "hunspell/WordTable.h"

namespace spellcheck::hunspell {

// Lines that cannot be used are skipped and reported as "NAME:LINE: what".
// Throws LoadError when the file has neither a count line nor any word. The
// caller finishes the table (WordTable::Finish) once the bytes are gone.
void ReadDicFile(std::string_view bytes, std::string_view name, const AffixData& affixes,
                 WordTable& words, std::vector<std::string>* warnings);

}  // namespace spellcheck::hunspell

#endif
