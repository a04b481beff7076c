#include "hunspell/Flags.h"

#include "text/Utf8.h"

namespace spellcheck::hunspell {

bool ParseFlags(std::string_view field, FlagType type, FlagSet& out, std::string& error) {
  out.clear();
  bool ok = true;
  switch (type) {
    case FlagType::Byte:
      for (unsigned char c : field) out.push_back(c);
      break;
    case FlagType::Long:
      for (std::size_t i = 0; i + 1 < field.size(); i += 2)
        out.push_back(static_cast<Flag>((static_cast<unsigned char>(field[i]) << 8) |
                                        static_cast<unsigned char>(field[i + 1])));
      if (field.size() % 2) {
        error = "odd number of characters in long flags";
        ok = false;
      }
      break;
    case FlagType::Number: {
      std::size_t i = 0;
      while (i < field.size()) {
        std::uint32_t value = 0;
        std::size_t digits = 0;
        while (i < field.size() && field[i] >= '0' && field[i] <= '9') {
          if (value < 100000) value = value * 10 + static_cast<std::uint32_t>(field[i] - '0');
          ++i;
          ++digits;
        }
        if (digits == 0 || value == 0 || value > 65535) {
          error = "numeric flag out of range";
          ok = false;
        } else {
          out.push_back(static_cast<Flag>(value));
        }
        if (i < field.size() && field[i] != ',') {
          error = "unexpected character in numeric flags";
          ok = false;
          ++i;
        } else if (i < field.size()) {
          ++i;
        }
      }
      break;
    }
    case FlagType::Utf8: {
      std::size_t pos = 0;
      while (pos < field.size()) {
        const char32_t c = text::DecodeUtf8(field, pos);
        if (c == text::InvalidChar || c > 0xFFFF) {
          error = "flag is not a UTF-8 character of the basic plane";
          ok = false;
          continue;
        }
        out.push_back(static_cast<Flag>(c));
      }
      break;
    }
  }
  std::erase(out, Flag{0});
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return ok;
}

bool ParseFlag(std::string_view field, FlagType type, Flag& out) {
  FlagSet set;
  std::string error;
  if (field.empty()) return false;
  if (type == FlagType::Long && field.size() > 2) field = field.substr(0, 2);
  if (type == FlagType::Byte) field = field.substr(0, 1);
  if (type == FlagType::Utf8) {
    std::size_t pos = 0;
    text::DecodeUtf8(field, pos);
    field = field.substr(0, pos);
  }
  if (type == FlagType::Number) field = field.substr(0, field.find(','));
  ParseFlags(field, type, set, error);
  if (set.empty()) return false;
  out = set[0];
  return true;
}

}  // namespace spellcheck::hunspell
