#include "filters/InlineControls.h"

#include <algorithm>
#include <array>
#include <limits>

namespace spellcheck::tool {
namespace {

constexpr std::string_view Marker = "spellcheck:";

enum class Control { None, Ignore, Disable, Enable, DisableNextLine };

// Longest first: disable-next-line before disable.
constexpr std::array<std::pair<std::string_view, Control>, 4> Controls{{
    {"disable-next-line", Control::DisableNextLine},
    {"disable", Control::Disable},
    {"enable", Control::Enable},
    {"ignore", Control::Ignore},
}};

bool IsWordByte(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 0x80 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         c == '\'' || c == '-' || c == '_';
}

bool IsSeparator(char c) {
  return c == ' ' || c == '\t' || c == ',' || c == '\r';
}

}  // namespace

void InlineControls::Read(std::string_view piece, bool startsLine) {
  constexpr std::size_t End = std::numeric_limits<std::size_t>::max();
  silent_.clear();
  if (startsLine) {
    lineSilenced_ = nextLine_;
    nextLine_ = false;
  }
  if (lineSilenced_) silent_.push_back({0, End});
  std::size_t silentFrom = disabled_ ? 0 : End;  // the start of a disabled stretch
  for (std::size_t at = piece.find(Marker); at != std::string_view::npos;
       at = piece.find(Marker, at)) {
    // The marker must begin a word: not "myspellcheck:".
    if (at > 0 && IsWordByte(piece[at - 1])) {
      at += Marker.size();
      continue;
    }
    std::size_t pos = at + Marker.size();
    Control control = Control::None;
    for (const auto& [name, kind] : Controls) {
      if (piece.substr(pos, name.size()) == name &&
          (pos + name.size() == piece.size() || !IsWordByte(piece[pos + name.size()]))) {
        control = kind;
        pos += name.size();
        break;
      }
    }
    if (control == Control::None) {
      at = pos;
      continue;
    }
    if (control == Control::Ignore) {
      // The words that follow, up to anything but a word or a separator
      // (the end of a comment, say); a word begins with no hyphen or
      // apostrophe, so --> and -- end the list.
      while (pos < piece.size()) {
        std::size_t next = pos;
        while (next < piece.size() && IsSeparator(piece[next])) ++next;
        if (next == piece.size() || piece[next] == '-' || piece[next] == '\'') break;
        pos = next;
        const std::size_t begin = pos;
        while (pos < piece.size() && IsWordByte(piece[pos])) ++pos;
        if (pos == begin) break;
        ignored_.insert(std::string(piece.substr(begin, pos - begin)));
      }
    }
    silent_.push_back({at, pos});
    if (control == Control::Disable && !disabled_) {
      disabled_ = true;
      silentFrom = at;
    } else if (control == Control::Enable && disabled_) {
      disabled_ = false;
      silent_.push_back({silentFrom, pos});
      silentFrom = End;
    } else if (control == Control::DisableNextLine) {
      nextLine_ = true;
    }
    at = pos;
  }
  if (silentFrom != End) silent_.push_back({silentFrom, End});
}

bool InlineControls::Silenced(std::size_t byteOffset) const {
  return std::any_of(silent_.begin(), silent_.end(), [byteOffset](const Range& range) {
    return byteOffset >= range.begin && byteOffset < range.end;
  });
}

}  // namespace spellcheck::tool
