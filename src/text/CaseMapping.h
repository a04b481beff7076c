// One-byte case mappings of 8-bit text in code page 1252.
#ifndef SPELLCHECK_TEXT_CASEMAPPING_H
#define SPELLCHECK_TEXT_CASEMAPPING_H

namespace spellcheck::text {

// The code page 1252 mapping as a fixed table, whatever the platform or the
// process's C locale: a-z, 0x9A->0x8A, 0x9C->0x8C, 0x9E->0x8E, 0xE0..0xFE
// except 0xF7 down by 0x20, 0xFF->0x9F; lower-casing is its inverse; every
// other byte stays.
unsigned char Cp1252Upper(unsigned char c);
unsigned char Cp1252Lower(unsigned char c);

// The platform's locale-aware mapping of one character: on Windows the
// system's own (CharUpperBuffA/CharLowerBuffA on a one-byte buffer),
// elsewhere the code page 1252 table above.
unsigned char SystemUpper(unsigned char c);
unsigned char SystemLower(unsigned char c);

}  // namespace spellcheck::text

#endif
