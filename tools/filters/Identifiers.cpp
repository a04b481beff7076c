#include "filters/Identifiers.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "filters/Filter.h"

namespace spellcheck::tool {
namespace {

bool IsSmall(char c) {
  return c >= 'a' && c <= 'z';
}
bool IsCapital(char c) {
  return c >= 'A' && c <= 'Z';
}
bool IsLetter(char c) {
  return IsSmall(c) || IsCapital(c) || (static_cast<unsigned char>(c) & 0x80);
}

constexpr std::uintmax_t SizeLimit = std::uintmax_t(16) << 20;

}  // namespace

void AddNameAndParts(std::string_view name, std::unordered_set<std::string>& words) {
  words.emplace(name);
  std::size_t start = 0;
  for (std::size_t i = 0; i <= name.size(); ++i) {
    // The cuts of the compound checker: before a capital after a small
    // letter, before the last capital of a run, and at what is no letter.
    const bool end = i == name.size() || !IsLetter(name[i]);
    const bool cut =
        end || (i > start && IsCapital(name[i]) &&
                (IsSmall(name[i - 1]) ||
                 (IsCapital(name[i - 1]) && i + 1 < name.size() && IsSmall(name[i + 1]))));
    if (cut && i > start) words.emplace(name.substr(start, i - start));
    if (cut) start = end ? i + 1 : i;
  }
}

void AddDefinedNames(const std::string& path, const std::string& mode,
                     std::unordered_set<std::string>& words) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (error || size > SizeLimit) return;
  std::ifstream in(path, std::ios::binary);
  if (!in) return;
  const std::string document((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
  if (document.find('\0') != std::string::npos) return;
  AddDefinedNamesOf(document, mode, words);
}

void AddDefinedNamesOf(std::string_view document, const std::string& mode,
                       std::unordered_set<std::string>& words) {
  if (!IsCodeLanguage(mode)) return;
  const std::unique_ptr<Filter> filter = MakeFilter(mode);
  if (!filter) return;
  std::vector<Region> regions;
  filter->Regions(document, regions);
  for (const Region& region : regions) {
    if (region.definition) {
      AddNameAndParts(document.substr(region.begin, region.end - region.begin), words);
    }
  }
}

}  // namespace spellcheck::tool
