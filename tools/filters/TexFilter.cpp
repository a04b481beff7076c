// TeX and LaTeX: the text and the arguments of text commands (\section,
// \emph, \textbf) are checked, and comments after their '%'. Command names,
// the arguments of commands that take names, keys or files (\begin, \label,
// \cite, \usepackage ...), and mathematics ($..$, $$..$$, \(..\), \[..\],
// equation-like environments) are not; neither is verbatim text (\verb too). An
// accent command inside a word (caf\'e) drops that word.
#include <array>
#include <cctype>
#include <string>

#include "filters/Filter.h"

namespace spellcheck::tool {
namespace {

bool IsLetterByte(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

// Commands whose arguments are names, keys, labels or files.
constexpr std::array<std::string_view, 38> NameCommands{"begin",
                                                        "end",
                                                        "label",
                                                        "ref",
                                                        "eqref",
                                                        "pageref",
                                                        "autoref",
                                                        "cref",
                                                        "Cref",
                                                        "cite",
                                                        "citep",
                                                        "citet",
                                                        "citeauthor",
                                                        "citeyear",
                                                        "nocite",
                                                        "usepackage",
                                                        "RequirePackage",
                                                        "documentclass",
                                                        "includegraphics",
                                                        "input",
                                                        "include",
                                                        "bibliography",
                                                        "bibliographystyle",
                                                        "url",
                                                        "href",
                                                        "newcommand",
                                                        "renewcommand",
                                                        "providecommand",
                                                        "newenvironment",
                                                        "renewenvironment",
                                                        "setlength",
                                                        "addtolength",
                                                        "setcounter",
                                                        "addtocounter",
                                                        "pagestyle",
                                                        "thispagestyle",
                                                        "hypersetup",
                                                        "lstinputlisting"};

// Environments whose content is mathematics or verbatim text.
constexpr std::array<std::string_view, 18> SkippedEnvironments{
    "equation", "equation*", "align",    "align*",    "gather",      "gather*",
    "multline", "multline*", "eqnarray", "eqnarray*", "displaymath", "math",
    "flalign",  "flalign*",  "verbatim", "verbatim*", "lstlisting",  "minted"};

template <std::size_t N>
bool Contains(const std::array<std::string_view, N>& names, std::string_view name) {
  for (const std::string_view known : names) {
    if (known == name) return true;
  }
  return false;
}

class TexFilter : public Filter {
 public:
  void Regions(std::string_view document, std::vector<Region>& regions) override {
    RegionBuilder builder(document, regions);
    doc_ = document;
    const std::size_t size = document.size();
    std::size_t pos = 0;
    if (!pending_.empty()) {
      // Mathematics or an environment left open by the text before (the
      // pipe's previous line); an empty line ends inline mathematics.
      const std::string close = std::move(pending_);
      pending_.clear();
      const bool inlineMath = close == "$" || close == "\\)";
      if (!(inlineMath && document.find_first_not_of(" \t\r") == std::string_view::npos)) {
        pos = Past(0, close);
      }
    }
    std::size_t text = pos;
    const auto skipTo = [&](std::size_t from, std::size_t to) {
      builder.Add(text, from);
      pos = to;
      text = to;
    };
    while (pos < size) {
      const char c = document[pos];
      if (c == '%') {
        skipTo(pos, pos + 1);  // the comment's text is checked
        continue;
      }
      if (c == '$') {
        const bool display = pos + 1 < size && document[pos + 1] == '$';
        skipTo(pos, Past(pos + (display ? 2 : 1), display ? "$$" : "$"));
        continue;
      }
      if (c != '\\') {
        ++pos;
        continue;
      }
      if (pos + 1 >= size) {
        skipTo(pos, size);
        continue;
      }
      const char next = document[pos + 1];
      if (next == '(' || next == '[') {
        skipTo(pos, Past(pos + 2, next == '(' ? "\\)" : "\\]"));
        continue;
      }
      if (!IsLetterByte(next)) {
        // \' \" \^ ... are accents: their word is no word here.
        if (std::string_view("'`^\"~=.").find(next) != std::string_view::npos) {
          builder.Add(text, pos);
          builder.Break(pos, pos + 2);
          pos += 2;
          text = pos;
          continue;
        }
        skipTo(pos, pos + 2);  // \\ \% \& \{ ...
        continue;
      }
      std::size_t end = pos + 1;
      while (end < size && IsLetterByte(document[end])) ++end;
      const std::string_view name = document.substr(pos + 1, end - pos - 1);
      if (end < size && document[end] == '*') ++end;
      if (name == "verb" && end < size) {
        // \verb|text|: any character closes what it opened.
        const std::size_t close = document.find(document[end], end + 1);
        skipTo(pos, close == std::string_view::npos ? size : close + 1);
        continue;
      }
      if (!Contains(NameCommands, name)) {
        skipTo(pos, end);
        continue;
      }
      // Its optional and braced arguments are names.
      std::size_t p = end;
      std::string environment;
      for (;;) {
        std::size_t q = p;
        while (q < size && (document[q] == ' ' || document[q] == '\t')) ++q;
        if (q < size && document[q] == '[') {
          p = Balanced(q, '[', ']');
          continue;
        }
        if (q < size && document[q] == '{') {
          const std::size_t close = Balanced(q, '{', '}');
          if (environment.empty() && name == "begin") {
            environment = std::string(document.substr(q + 1, close - q - 2));
          }
          p = close;
          if (name == "begin") {
            // An environment's optional arguments and a float's placement
            // ([htbp]) are options, not prose.
            for (q = p; q < size && (document[q] == ' ' || document[q] == '\t'); ++q) {
            }
            while (q < size && document[q] == '[') {
              p = Balanced(q, '[', ']');
              for (q = p; q < size && (document[q] == ' ' || document[q] == '\t'); ++q) {
              }
            }
          }
          if (name == "begin" || name == "end" || name == "href") break;  // one name argument
          continue;
        }
        break;
      }
      if (name == "begin" && Contains(SkippedEnvironments, environment)) {
        const std::string close = "\\end{" + environment + "}";
        skipTo(pos, Past(p, close));
        continue;
      }
      skipTo(pos, p);
    }
    builder.Add(text, size);
  }

 private:
  // Past the end of what was opened; at the end of the text, when it is
  // not there, the rest of the next text is skipped up to it.
  std::size_t Past(std::size_t from, std::string_view end) {
    const std::size_t at = doc_.find(end, from);
    if (at != std::string_view::npos) return at + end.size();
    pending_ = std::string(end);
    return doc_.size();
  }

  // From an opening bracket: past its matching close.
  std::size_t Balanced(std::size_t open, char opening, char closing) const {
    int depth = 0;
    for (std::size_t p = open; p < doc_.size(); ++p) {
      if (doc_[p] == '\\') {
        ++p;
        continue;
      }
      if (doc_[p] == opening) ++depth;
      if (doc_[p] == closing && --depth == 0) return p + 1;
    }
    return doc_.size();
  }

  std::string_view doc_;
  std::string pending_;  // what closes the mathematics or environment still open
};

}  // namespace

std::unique_ptr<Filter> MakeTexFilter() {
  return std::make_unique<TexFilter>();
}

}  // namespace spellcheck::tool
