// Letters of code page 1252 as the ranking sees them: an accented letter is
// its base letter with a mark, so that é, è and e lie close together.
#ifndef SPELLCHECK_SUGGEST_LETTERS_H
#define SPELLCHECK_SUGGEST_LETTERS_H

namespace spellcheck::suggest {

// The base letter of a lower-case code page 1252 byte (a-z as they are; à,
// ä, å, æ -> a; ç -> c; ð -> d; ñ -> n; ø, œ -> o; ß, š -> s; þ -> t; ž -> z;
// ...), or 0 for a byte that is no letter.
inline char BaseLetter(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<char>(c);
  // 0xDF..0xFF: ß and the accented lower-case letters of Latin-1 (0xF7 is ÷).
  static constexpr char latin[] = "saaaaaaaceeeeiiiidnooooo\0ouuuuyty";
  if (c >= 0xDF) return latin[c - 0xDF];
  if (c == 0x9A) return 's';
  if (c == 0x9E) return 'z';
  if (c == 0x9C) return 'o';
  return 0;
}

}  // namespace spellcheck::suggest

#endif
