#include "text/WordCase.h"

#include "text/CaseMapping.h"

namespace spellcheck::text {
namespace {

template <class Mapping>
std::string MapFrom(std::string_view word, std::size_t first, Mapping mapping) {
  std::string form(word);
  for (std::size_t i = first; i < form.size(); ++i) {
    form[i] = static_cast<char>(mapping(static_cast<unsigned char>(form[i])));
  }
  return form;
}

}  // namespace

bool IsAllCapitals(std::string_view word) {
  std::size_t capitals = 0;
  for (const char c : word) {
    const auto byte = static_cast<unsigned char>(c);
    if (Cp1252Lower(byte) != byte) {
      ++capitals;
    } else if (Cp1252Upper(byte) != byte) {
      return false;
    }
  }
  return capitals >= 2;
}

std::string CapitalisedForm(std::string_view word) {
  return MapFrom(word, 1, Cp1252Lower);
}

std::string UpperCase(std::string_view word) {
  return MapFrom(word, 0, Cp1252Upper);
}

std::string LowerCase(std::string_view word) {
  return MapFrom(word, 0, Cp1252Lower);
}

}  // namespace spellcheck::text
