// iconv for the tool's Windows build, where the C library has none: the same
// three calls, made with the system's code-page functions
// (MultiByteToWideChar / WideCharToMultiByte). On the include path of the
// Windows build only.
#ifndef SPELLCHECK_TOOL_WIN32_ICONV_H
#define SPELLCHECK_TOOL_WIN32_ICONV_H

#include <cstddef>

using iconv_t = void*;

// Encoding names as iconv spells them ("UTF-8", "CP1252", "WINDOWS-1252",
// "ISO-8859-15", "LATIN1", "ASCII", "KOI8-R", "SHIFT_JIS", ...); case, '-'
// and '_' do not matter. (iconv_t)-1 with errno EINVAL for any other name.
iconv_t iconv_open(const char* to, const char* from);

// Converts whole characters from *in to *out, advancing both. -1 with errno
// EILSEQ at a sequence that is invalid or has no form in the target (both
// pointers left at it), EINVAL at a sequence cut short by the end of the
// input, E2BIG when the output is full. A null `in` resets (nothing to reset:
// the supported encodings keep no shift state).
std::size_t iconv(iconv_t cd, char** in, std::size_t* inLeft, char** out, std::size_t* outLeft);

int iconv_close(iconv_t cd);

#endif
