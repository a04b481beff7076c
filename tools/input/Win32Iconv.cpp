// The tool's iconv on Windows (see win32/iconv.h): each character goes from
// its code page to UTF-16 and on to the target code page, one at a time, so
// that a failure stops exactly at the character that caused it.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>

#include "win32/iconv.h"

namespace {

struct Conversion {
  UINT from;
  UINT to;
};

constexpr std::size_t Failed = static_cast<std::size_t>(-1);

std::string Folded(const char* name) {
  std::string folded;
  for (const char* c = name; *c != '\0'; ++c) {
    if (*c == '-' || *c == '_') continue;
    folded += (*c >= 'a' && *c <= 'z') ? static_cast<char>(*c - 32) : *c;
  }
  return folded;
}

// "<prefix><digits>" -> the number, or 0.
UINT NumberAfter(const std::string& name, std::string_view prefix) {
  if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return 0;
  UINT number = 0;
  for (std::size_t i = prefix.size(); i < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9' || number > 100000) return 0;
    number = number * 10 + static_cast<UINT>(name[i] - '0');
  }
  return number;
}

// The Windows code page of an iconv encoding name, or 0.
UINT CodePageFor(const char* encoding) {
  const std::string name = Folded(encoding);
  struct Alias {
    const char* name;
    UINT codePage;
  };
  static constexpr Alias aliases[] = {
      {"UTF8", CP_UTF8}, {"ASCII", 20127},  {"USASCII", 20127}, {"ANSIX3.41968", 20127},
      {"LATIN1", 28591}, {"L1", 28591},     {"LATIN9", 28605},  {"KOI8R", 20866},
      {"KOI8U", 21866},  {"SHIFTJIS", 932}, {"SJIS", 932},      {"EUCJP", 20932},
      {"GBK", 936},      {"GB2312", 936},   {"BIG5", 950},      {"EUCKR", 51949},
      {"MSANSI", 1252},
  };
  for (const Alias& alias : aliases) {
    if (name == alias.name) return alias.codePage;
  }
  if (const UINT n = NumberAfter(name, "ISO8859"); n >= 1 && n <= 16 && n != 12) return 28590 + n;
  for (const std::string_view prefix : {"CP", "WINDOWS", "IBM"}) {
    if (const UINT n = NumberAfter(name, prefix)) return n;
  }
  return 0;
}

bool IsSingleByte(UINT codePage) {
  CPINFO info{};
  return codePage != CP_UTF8 && ::GetCPInfo(codePage, &info) && info.MaxCharSize == 1;
}

// Bytes 0x80-0x9F that the Windows 125x and 874 code pages leave undefined
// come back as the C1 control of the same number; iconv calls them invalid.
bool IsUndefinedByte(UINT codePage, unsigned char byte, wchar_t wide) {
  const bool windowsAnsi = (codePage >= 1250 && codePage <= 1258) || codePage == 874;
  return windowsAnsi && byte >= 0x80 && byte <= 0x9F && wide == byte;
}

// Length of the source character at the start of `in`; 0 for an invalid
// start, or more than `left` for one that the input cuts short.
std::size_t CharacterLength(UINT codePage, const unsigned char* in, std::size_t left) {
  if (codePage == CP_UTF8) {
    const unsigned char lead = in[0];
    std::size_t length = lead < 0x80                   ? 1
                         : lead >= 0xC2 && lead < 0xE0 ? 2
                         : lead >= 0xE0 && lead < 0xF0 ? 3
                         : lead >= 0xF0 && lead < 0xF5 ? 4
                                                       : 0;
    for (std::size_t i = 1; i < length && i < left; ++i) {
      if ((in[i] & 0xC0) != 0x80) return 0;
    }
    return length;
  }
  if (IsSingleByte(codePage)) return 1;
  return ::IsDBCSLeadByteEx(codePage, in[0]) ? 2 : 1;
}

std::size_t Fail(int error) {
  errno = error;
  return Failed;
}

}  // namespace

iconv_t iconv_open(const char* to, const char* from) {
  const UINT toCodePage = to ? CodePageFor(to) : 0;
  const UINT fromCodePage = from ? CodePageFor(from) : 0;
  if (!::IsValidCodePage(toCodePage) || !::IsValidCodePage(fromCodePage)) {
    errno = EINVAL;
    return reinterpret_cast<iconv_t>(-1);
  }
  return new Conversion{fromCodePage, toCodePage};
}

int iconv_close(iconv_t cd) {
  delete static_cast<Conversion*>(cd);
  return 0;
}

std::size_t iconv(iconv_t cd, char** in, std::size_t* inLeft, char** out, std::size_t* outLeft) {
  const auto& conversion = *static_cast<const Conversion*>(cd);
  if (in == nullptr || *in == nullptr || inLeft == nullptr) return 0;
  while (*inLeft > 0) {
    const auto* source = reinterpret_cast<const unsigned char*>(*in);
    const std::size_t length = CharacterLength(conversion.from, source, *inLeft);
    if (length == 0) return Fail(EILSEQ);
    if (length > *inLeft) return Fail(EINVAL);

    wchar_t wide[2];
    const int wideCount = ::MultiByteToWideChar(conversion.from, MB_ERR_INVALID_CHARS, *in,
                                                static_cast<int>(length), wide, 2);
    if (wideCount <= 0) return Fail(EILSEQ);
    if (length == 1 && IsUndefinedByte(conversion.from, source[0], wide[0])) return Fail(EILSEQ);

    char converted[8];
    BOOL usedDefault = FALSE;
    const bool toUtf8 = conversion.to == CP_UTF8;
    const int count = ::WideCharToMultiByte(
        conversion.to, toUtf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS, wide, wideCount,
        converted, sizeof converted, nullptr, toUtf8 ? nullptr : &usedDefault);
    if (count <= 0 || usedDefault) return Fail(EILSEQ);
    if (static_cast<std::size_t>(count) > *outLeft) return Fail(E2BIG);

    std::memcpy(*out, converted, static_cast<std::size_t>(count));
    *out += count;
    *outLeft -= static_cast<std::size_t>(count);
    *in += length;
    *inLeft -= length;
  }
  return 0;
}
