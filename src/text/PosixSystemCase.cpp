// Outside Windows the system's one-character mapping is the code page 1252
// table: dictionaries are code page 1252 whatever the terminal's encoding.

#include "text/CaseMapping.h"

namespace spellcheck::text {

unsigned char SystemUpper(unsigned char c) {
  return Cp1252Upper(c);
}
unsigned char SystemLower(unsigned char c) {
  return Cp1252Lower(c);
}

}  // namespace spellcheck::text
