// ICONV and OCONV: replacement tables applied to words on the way in and out,
// longest match first; '_' at the start or end of a pattern ties it to the
// start or end of the word.
#ifndef SPELLCHECK_HUNSPELL_CONVERSION_H
#define SPELLCHECK_HUNSPELL_CONVERSION_H

#include <string>

#include "hunspell/AffixData.h"

namespace spellcheck::hunspell {

std::u32string ApplyConversions(std::u32string_view word, const Replacements& table);

}  // namespace spellcheck::hunspell

#endif
