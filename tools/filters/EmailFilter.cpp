// E-mail (a message or an mbox of them): the Subject and the body are
// checked; the other headers (up to the first empty line) and quoted lines
// (starting with '>') are not. The signature after "-- " is text like the rest.
#include <cctype>

#include "filters/Filter.h"

namespace spellcheck::tool {
namespace {

bool StartsNoCase(std::string_view line, std::string_view prefix) {
  if (line.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(line[i])) != prefix[i]) return false;
  }
  return true;
}

class EmailFilter : public Filter {
 public:
  void Regions(std::string_view document, std::vector<Region>& regions) override {
    RegionBuilder builder(document, regions);
    bool header = true;
    bool subject = false;     // the header line going on is the Subject
    bool afterEmpty = false;  // the line before was empty (an mbox's next "From ")
    std::size_t pos = 0;
    while (pos < document.size()) {
      std::size_t end = document.find('\n', pos);
      if (end == std::string_view::npos) end = document.size();
      std::string_view line = document.substr(pos, end - pos);
      if (line.ends_with('\r')) line.remove_suffix(1);
      if (!header && afterEmpty && line.starts_with("From ")) header = true;
      if (header) {
        if (line.empty()) {
          header = false;
        } else if (line.front() == ' ' || line.front() == '\t') {
          if (subject) builder.Add(pos, pos + line.size());
        } else {
          subject = StartsNoCase(line, "subject:");
          if (subject) builder.Add(pos + 8, pos + line.size());
        }
      } else if (!line.starts_with('>')) {
        builder.Add(pos, pos + line.size());
      }
      afterEmpty = line.empty();
      pos = end + 1;
    }
  }
};

}  // namespace

std::unique_ptr<Filter> MakeEmailFilter() {
  return std::make_unique<EmailFilter>();
}

}  // namespace spellcheck::tool
