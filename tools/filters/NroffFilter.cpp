// nroff and man pages: text lines and the text arguments of font and
// heading macros (.B, .I, .BR, .SH ...) are checked; other request lines,
// comments (.\" and \") and escapes (\fB, \(em, \*x, \s+1, \-, \& ...) are
// not, so that \fBfilename\fR reads as "filename".
#include <algorithm>
#include <array>
#include <cctype>

#include "filters/Filter.h"

namespace spellcheck::tool {
namespace {

constexpr std::array<std::string_view, 18> TextMacros{"B",  "I",  "R",  "BR", "RB", "IR",
                                                      "RI", "BI", "IB", "SM", "SB", "SH",
                                                      "SS", "TP", "IP", "Nm", "Nd", "Sh"};

bool IsTextMacro(std::string_view name) {
  for (const std::string_view macro : TextMacros) {
    if (macro == name) return true;
  }
  return false;
}

// From a '\': past the escape.
std::size_t PastEscape(std::string_view line, std::size_t pos) {
  const std::size_t size = line.size();
  std::size_t p = pos + 1;
  if (p >= size) return size;
  // The name after \f \* \n \F \g \k \m \M \Y: one character, (xx or [name].
  const auto name = [&](std::size_t at) {
    if (at >= size) return size;
    if (line[at] == '(') return std::min(size, at + 3);
    if (line[at] == '[') {
      const std::size_t close = line.find(']', at);
      return close == std::string_view::npos ? size : close + 1;
    }
    return at + 1;
  };
  switch (line[p]) {
    case 'f':
    case 'F':
    case 'g':
    case 'k':
    case 'm':
    case 'M':
    case 'n':
    case 'Y':
    case '*': {
      std::size_t at = p + 1;
      if (line[p] == 'n' && at < size && (line[at] == '+' || line[at] == '-')) ++at;
      return name(at);
    }
    case '(':
      return std::min(size, p + 3);
    case '[':
      return name(p);
    case 's': {
      std::size_t at = p + 1;
      if (at < size && (line[at] == '+' || line[at] == '-')) ++at;
      if (at < size && (line[at] == '(' || line[at] == '[')) return name(at);
      while (at < size && std::isdigit(static_cast<unsigned char>(line[at]))) ++at;
      return at;
    }
    case 'h':
    case 'v':
    case 'w':
    case 'l':
    case 'L':
    case 'o':
    case 'b':
    case 'x':
    case 'X':
    case 'D':
    case 'A':
    case 'B':
    case 'C':
    case 'N':
    case 'R':
    case 'Z': {
      // A delimited argument: \w'text', \h'1i'.
      if (p + 1 >= size) return size;
      const char delimiter = line[p + 1];
      const std::size_t close = line.find(delimiter, p + 2);
      return close == std::string_view::npos ? size : close + 1;
    }
    default:
      return p + 1;  // \- \& \e \| \^ \0 \c ...
  }
}

class NroffFilter : public Filter {
 public:
  void Regions(std::string_view document, std::vector<Region>& regions) override {
    RegionBuilder builder(document, regions);
    std::size_t pos = 0;
    while (pos < document.size()) {
      std::size_t end = document.find('\n', pos);
      if (end == std::string_view::npos) end = document.size();
      Line(document, pos, end, builder);
      pos = end + 1;
    }
  }

 private:
  static void Line(std::string_view document, std::size_t begin, std::size_t end,
                   RegionBuilder& builder) {
    std::size_t text = begin;
    if (begin < end && (document[begin] == '.' || document[begin] == '\'')) {
      std::size_t p = begin + 1;
      while (p < end && (document[p] == ' ' || document[p] == '\t')) ++p;
      const std::size_t nameStart = p;
      while (p < end && document[p] != ' ' && document[p] != '\t' && document[p] != '\\') ++p;
      const std::string_view name = document.substr(nameStart, p - nameStart);
      if (!IsTextMacro(name)) return;  // a request, or a comment (.\")
      text = p;
    }
    const std::string_view line = document.substr(0, end);
    std::size_t pos = text;
    while (pos < end) {
      if (document[pos] != '\\') {
        ++pos;
        continue;
      }
      builder.Add(text, pos);
      if (pos + 1 < end && (document[pos + 1] == '"' || document[pos + 1] == '#')) return;
      pos = PastEscape(line, pos);
      text = pos;
    }
    builder.Add(text, end);
  }
};

}  // namespace

std::unique_ptr<Filter> MakeNroffFilter() {
  return std::make_unique<NroffFilter>();
}

}  // namespace spellcheck::tool
