#include "filters/Filter.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "errors/ToolError.h"

namespace spellcheck::tool {
namespace {

bool IsWordByte(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b >= 0x80 || ((b | 0x20) >= 'a' && (b | 0x20) <= 'z') || c == '\'';
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  }
  return lower;
}

struct Extension {
  const char* suffix;
  const char* mode;
};

constexpr std::array<Extension, 47> Extensions{{
    {".md", "markdown"}, {".markdown", "markdown"},
    {".html", "html"},   {".htm", "html"},
    {".xhtml", "html"},  {".xml", "xml"},
    {".svg", "xml"},     {".tex", "tex"},
    {".sty", "tex"},     {".cls", "tex"},
    {".ltx", "tex"},     {".man", "nroff"},
    {".mdoc", "nroff"},  {".roff", "nroff"},
    {".eml", "email"},   {".mbox", "email"},
    {".c", "c"},         {".h", "c"},
    {".cc", "c"},        {".cpp", "c"},
    {".cxx", "c"},       {".hpp", "c"},
    {".hh", "c"},        {".java", "java"},
    {".js", "js"},       {".mjs", "js"},
    {".cjs", "js"},      {".ts", "js"},
    {".tsx", "js"},      {".jsx", "js"},
    {".go", "go"},       {".rs", "rust"},
    {".py", "python"},   {".sh", "shell"},
    {".bash", "shell"},  {".cmake", "cmake"},
    {".yml", "yaml"},    {".yaml", "yaml"},
    {".toml", "toml"},   {".1", "nroff"},
    {".2", "nroff"},     {".3", "nroff"},
    {".4", "nroff"},     {".5", "nroff"},
    {".6", "nroff"},     {".7", "nroff"},
    {".8", "nroff"},
}};

}  // namespace

void RegionBuilder::Add(std::size_t begin, std::size_t end) {
  if (begin == resumeAfterBreak_) {
    while (begin < end && IsWordByte(document_[begin])) ++begin;
  }
  resumeAfterBreak_ = std::string_view::npos;
  // Regions stay ascending whatever order a parser hands out text in.
  if (!regions_.empty()) begin = std::max(begin, regions_.back().end);
  if (begin >= end) return;
  if (!regions_.empty() && regions_.back().end == begin && !regions_.back().definition) {
    regions_.back().end = end;
    return;
  }
  regions_.push_back({begin, end});
}

void RegionBuilder::AddDefinition(std::size_t begin, std::size_t end, bool checked) {
  resumeAfterBreak_ = std::string_view::npos;
  if (!regions_.empty() && begin < regions_.back().end) return;
  if (begin >= end) return;
  regions_.push_back({begin, end, true, !checked});
}

void RegionBuilder::Break(std::size_t begin, std::size_t end) {
  if (!regions_.empty() && regions_.back().end == begin) {
    Region& last = regions_.back();
    while (last.end > last.begin && IsWordByte(document_[last.end - 1])) --last.end;
    if (last.end == last.begin) regions_.pop_back();
  }
  resumeAfterBreak_ = end;
}

void AddWithEntities(RegionBuilder& regions, std::string_view document, std::size_t begin,
                     std::size_t end) {
  std::size_t from = begin;
  for (std::size_t pos = begin; pos < end; ++pos) {
    if (document[pos] != '&') continue;
    std::size_t stop = pos + 1;
    while (stop < end && stop - pos < 32 &&
           (std::isalnum(static_cast<unsigned char>(document[stop])) || document[stop] == '#')) {
      ++stop;
    }
    if (stop >= end || document[stop] != ';' || stop == pos + 1) continue;
    regions.Add(from, pos);
    regions.Break(pos, stop + 1);
    from = stop + 1;
    pos = stop;
  }
  regions.Add(from, end);
}

void RegionsOfLine(const std::vector<Region>& regions, std::size_t& next, std::size_t begin,
                   std::size_t end, std::vector<Region>& line) {
  line.clear();
  while (next < regions.size() && regions[next].begin < end) {
    const Region& region = regions[next];
    const std::size_t from = std::max(region.begin, begin);
    const std::size_t to = std::min(region.end, end);
    if (from < to) line.push_back({from - begin, to - begin, region.definition, region.nameOnly});
    if (region.end > end + 1) break;  // it goes on in the next line
    ++next;
  }
}

void CheckRegions(LineChecker& checker, std::string_view line, const std::vector<Region>& regions,
                  std::vector<CheckedWord>& words) {
  words.clear();
  std::vector<CheckedWord> found;
  std::size_t chars = 0;  // characters of the line before `pos`
  std::size_t pos = 0;
  for (const Region& region : regions) {
    if (region.nameOnly) continue;
    for (; pos < region.begin; ++pos) {
      if ((static_cast<unsigned char>(line[pos]) & 0xC0) != 0x80) ++chars;
    }
    const std::size_t regionChars =
        checker.Check(line.substr(region.begin, region.end - region.begin), found);
    for (CheckedWord& word : found) {
      word.charOffset += chars;
      word.definition = region.definition;
      words.push_back(word);
    }
    chars += regionChars;
    pos = region.end;
  }
}

std::string ModeForFile(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  const std::string name = Lower(slash == std::string_view::npos ? path : path.substr(slash + 1));
  if (name == "cmakelists.txt") return "cmake";
  for (const Extension& extension : Extensions) {
    const std::string_view suffix = extension.suffix;
    if (name.size() > suffix.size() && name.ends_with(suffix)) return extension.mode;
  }
  return "text";
}

std::string ModeNames() {
  return "text, markdown, html, xml, tex, nroff, email, c, java, js, go, rust, python, shell, "
         "cmake, yaml, toml";
}

std::unique_ptr<Filter> MakeFilter(std::string_view mode) {
  const std::string name = Lower(mode);
  if (name == "text") return nullptr;
  if (name == "markdown") return MakeMarkdownFilter();
  if (name == "html") return MakeHtmlFilter(false);
  if (name == "xml") return MakeHtmlFilter(true);
  if (name == "tex") return MakeTexFilter();
  if (name == "nroff") return MakeNroffFilter();
  if (name == "email") return MakeEmailFilter();
  if (IsCodeLanguage(name)) return MakeCodeFilter(name);
  throw ToolError("unknown mode '" + std::string(mode) + "' (known: " + ModeNames() + ")");
}

}  // namespace spellcheck::tool
