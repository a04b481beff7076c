#include "text/TextFunctions.h"

#include "text/CaseMapping.h"

namespace spellcheck::text {

bool IsCapitalized(std::string_view word) {
  if (word.empty()) return false;
  const auto first = static_cast<unsigned char>(word.front());
  return (first >= 0xC0 && first <= 0xDE) || (first >= 'A' && first <= 'Z');
}

namespace {

template <class Mapping>
std::string MapFirst(std::string_view word, Mapping mapping) {
  std::string result(word);
  if (!result.empty()) {
    result.front() = static_cast<char>(mapping(static_cast<unsigned char>(result.front())));
  }
  return result;
}

}  // namespace

std::string CapitalizeFirst(std::string_view word) {
  return MapFirst(word, SystemUpper);
}

std::string LowerFirst(std::string_view word) {
  return MapFirst(word, SystemLower);
}

}  // namespace spellcheck::text
