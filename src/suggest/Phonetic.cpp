#include "suggest/Phonetic.h"

#include "suggest/Letters.h"

namespace spellcheck::suggest {
namespace {

bool IsVowel(char c) {
  return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u' || c == 'y';
}

bool IsFront(char c) {
  return c == 'e' || c == 'i' || c == 'y';
}

}  // namespace

std::string PhoneticKey(std::string_view lower) {
  std::string w;
  w.reserve(lower.size());
  for (unsigned char c : lower) {
    if (const char b = BaseLetter(c)) w += b;
  }
  std::string key;
  const std::size_t n = w.size();
  std::size_t i = 0;
  // Silent first letters.
  if (n >= 2) {
    const std::string_view two(w.data(), 2);
    if (two == "kn" || two == "gn" || two == "pn" || two == "wr" || two == "ps") i = 1;
    if (two == "wh") {
      key += 'W';
      i = 2;
    }
  }
  if (i < n && w[i] == 'x' && i == 0) {
    key += 'S';
    i = 1;
  }
  char last = 0;  // the last code since the last vowel, for doubled sounds
  auto emit = [&](char code) {
    if (code != last) key += code;
    last = code;
  };
  auto at = [&](std::size_t k) { return k < n ? w[k] : '\0'; };
  for (; i < n; ++i) {
    const char c = w[i];
    const char next = at(i + 1);
    if (IsVowel(c) && !(c == 'y' && i == 0 && IsVowel(next))) {
      if (key.empty()) key += 'A';
      last = 0;
      continue;
    }
    switch (c) {
      case 'b':
        if (!(i + 1 == n && i > 0 && w[i - 1] == 'm')) emit('B');
        break;
      case 'c':
        if (next == 'h') {
          emit('X');
          ++i;
        } else if (next == 'i' && (at(i + 2) == 'a' || at(i + 2) == 'o')) {
          emit('X');
        } else if (IsFront(next)) {
          emit('S');
        } else if (next != 'k') {
          emit('K');
        }
        break;
      case 'd':
        if (next == 'g' && IsFront(at(i + 2))) {
          emit('J');
          ++i;
        } else {
          emit('T');
        }
        break;
      case 'g':
        if (next == 'h') {
          if (i == 0) emit('K');
          ++i;  // silent (night, though) or not worth telling apart
        } else if (next == 'n' && (i + 2 == n || (at(i + 2) == 'e' && at(i + 3) == 'd'))) {
          // sign, signed
        } else if (IsFront(next)) {
          emit('J');
        } else {
          emit('K');
        }
        break;
      case 'h':
        if ((i == 0 || IsVowel(w[i - 1])) && IsVowel(next)) emit('H');
        break;
      case 'k':
      case 'q':
        emit('K');
        break;
      case 'n':
        if (!(i + 1 == n && i > 0 && w[i - 1] == 'm')) emit('N');
        break;
      case 'p':
        if (next == 'h') {
          emit('F');
          ++i;
        } else {
          emit('P');
        }
        break;
      case 's':
        if (next == 'h') {
          emit('X');
          ++i;
        } else if (next == 'c' && at(i + 2) == 'h') {
          emit('S');
          emit('K');
          i += 2;
        } else if (next == 'i' && (at(i + 2) == 'a' || at(i + 2) == 'o')) {
          emit('X');
        } else {
          emit('S');
        }
        break;
      case 't':
        if (next == 'h') {
          emit('0');
          ++i;
        } else if (next == 'i' && (at(i + 2) == 'a' || at(i + 2) == 'o')) {
          emit('X');
        } else if (!(next == 'c' && at(i + 2) == 'h')) {
          emit('T');
        }
        break;
      case 'v':
      case 'f':
        emit('F');
        break;
      case 'w':
        if (IsVowel(next)) emit('W');
        break;
      case 'x':
        emit('K');
        emit('S');
        break;
      case 'y':
        emit('Y');
        break;
      case 'z':
        emit('S');
        break;
      default:  // j l m r
        emit(static_cast<char>(c - 'a' + 'A'));
        break;
    }
  }
  // Keys are indexed like words, so they are held to a word's length.
  if (key.size() > kMaxKeyLength) key.resize(kMaxKeyLength);
  return key;
}

}  // namespace spellcheck::suggest
