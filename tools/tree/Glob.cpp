#include "tree/Glob.h"

#include <vector>

namespace spellcheck::tool {
namespace {

constexpr std::size_t None = std::string_view::npos;

// The bytes of the UTF-8 character at `at` (1 for a byte that starts none).
std::size_t CharLength(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  const std::size_t wanted = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  std::size_t length = 1;
  while (length < wanted && at + length < text.size() &&
         (static_cast<unsigned char>(text[at + length]) & 0xC0) == 0x80) {
    ++length;
  }
  return length;
}

// The set at pattern[at] == '[': whether `c` (an ASCII byte) is in it, and
// the index after its ']'; None when no ']' closes it (the '[' is then a
// character of its own).
std::size_t MatchSet(std::string_view pattern, std::size_t at, unsigned char c, bool& in) {
  std::size_t i = at + 1;
  bool negated = false;
  if (i < pattern.size() && (pattern[i] == '!' || pattern[i] == '^')) {
    negated = true;
    ++i;
  }
  bool found = false;
  bool first = true;
  const auto take = [&pattern, &i] {
    if (pattern[i] == '\\' && i + 1 < pattern.size()) ++i;
    return static_cast<unsigned char>(pattern[i++]);
  };
  while (i < pattern.size()) {
    if (pattern[i] == ']' && !first) {
      in = found != negated;
      return i + 1;
    }
    first = false;
    const unsigned char low = take();
    unsigned char high = low;
    if (i + 1 < pattern.size() && pattern[i] == '-' && pattern[i + 1] != ']') {
      ++i;
      high = take();
    }
    if (c >= low && c <= high) found = true;
  }
  return None;
}

// Matching from pattern[pi] and text[ti] on; each pair is tried once at
// most (remembered), so that patterns with many stars stay linear in each.
class Matcher {
 public:
  Matcher(std::string_view pattern, std::string_view text)
      : pattern_(pattern), text_(text), tried_((pattern.size() + 1) * (text.size() + 1), 0) {}

  bool Match(std::size_t pi, std::size_t ti) {
    char& tried = tried_[pi * (text_.size() + 1) + ti];
    if (tried == 0) tried = Step(pi, ti) ? 1 : 2;
    return tried == 1;
  }

 private:
  bool Step(std::size_t pi, std::size_t ti) {
    const std::string_view pattern = pattern_;
    const std::string_view text = text_;
    while (pi < pattern.size()) {
      const char c = pattern[pi];
      if (c == '*') {
        const bool partStart = pi == 0 || pattern[pi - 1] == '/';
        std::size_t stars = pi;
        while (stars < pattern.size() && pattern[stars] == '*') ++stars;
        if (partStart && stars - pi == 2 && (stars == pattern.size() || pattern[stars] == '/')) {
          // "**" at the end: everything below; "**/": any number of folders.
          if (stars == pattern.size()) return true;
          for (std::size_t at = ti;;) {
            if (Match(stars + 1, at)) return true;
            const std::size_t slash = text.find('/', at);
            if (slash == None) return false;
            at = slash + 1;
          }
        }
        pi = stars;
        if (pi == pattern.size()) return text.find('/', ti) == None;
        for (std::size_t at = ti;;) {
          if (Match(pi, at)) return true;
          if (at >= text.size() || text[at] == '/') return false;
          at += CharLength(text, at);
        }
      }
      if (ti >= text.size()) return false;
      if (c == '?') {
        if (text[ti] == '/') return false;
        ti += CharLength(text, ti);
        ++pi;
        continue;
      }
      if (c == '[') {
        const auto byte = static_cast<unsigned char>(text[ti]);
        bool in = false;
        const std::size_t end = MatchSet(pattern, pi, byte < 0x80 ? byte : 0, in);
        if (end != None) {
          // Sets hold ASCII characters: any other one is in a negated set only.
          if (byte >= 0x80) in = pattern[pi + 1] == '!' || pattern[pi + 1] == '^';
          if (!in || text[ti] == '/') return false;
          ti += CharLength(text, ti);
          pi = end;
          continue;
        }
      }
      char literal = c;
      if (c == '\\' && pi + 1 < pattern.size()) literal = pattern[++pi];
      if (text[ti] != literal) return false;
      ++ti;
      ++pi;
    }
    return ti == text.size();
  }

  std::string_view pattern_;
  std::string_view text_;
  std::vector<char> tried_;  // 0: not yet, 1: matches, 2: does not
};

}  // namespace

bool GlobMatch(std::string_view pattern, std::string_view text) {
  return Matcher(pattern, text).Match(0, 0);
}

Glob::Glob(std::string_view pattern) : written_(pattern) {
  std::string_view p = pattern;
  // A trailing '/' (not an escaped one) asks for folders.
  while (p.size() > 1 && p.back() == '/' && p[p.size() - 2] != '\\') {
    foldersOnly_ = true;
    p.remove_suffix(1);
  }
  if (p.starts_with('/')) {
    anchored_ = true;
    p.remove_prefix(1);
  } else if (p.find('/') != None) {
    anchored_ = true;
  }
  pattern_ = std::string(p);
}

bool Glob::Matches(std::string_view path, bool isFolder) const {
  if (foldersOnly_ && !isFolder) return false;
  if (anchored_) return GlobMatch(pattern_, path);
  const std::size_t slash = path.rfind('/');
  return GlobMatch(pattern_, slash == None ? path : path.substr(slash + 1));
}

}  // namespace spellcheck::tool
