// HTML and XML through a small tokenizer: the text between tags is checked,
// and in HTML the attributes people read (alt, title, placeholder,
// aria-label); tags, other attributes, comments, CDATA, processing
// instructions and, in HTML, <script>, <style>, <code> and <pre> are not. A
// word holding a character reference (caf&eacute;) is skipped whole: the
// reference is markup, and half a word is no word to judge.
#include <cctype>

#include "filters/Filter.h"

namespace spellcheck::tool {
namespace {

bool StartsNoCase(std::string_view text, std::size_t pos, std::string_view prefix) {
  if (text.size() - pos < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[pos + i])) != prefix[i]) return false;
  }
  return true;
}

std::string LowerName(std::string_view name) {
  std::string lower;
  for (const char c : name) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

bool IsNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == ':' ||
         c == '.';
}

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

class HtmlFilter : public Filter {
 public:
  explicit HtmlFilter(bool xml) : xml_(xml) {}

  void Regions(std::string_view document, std::vector<Region>& regions) override {
    RegionBuilder builder(document, regions);
    const std::size_t size = document.size();
    std::size_t pos = 0;
    std::size_t text = 0;  // where the current text began
    while (pos < size) {
      if (document[pos] != '<') {
        ++pos;
        continue;
      }
      AddWithEntities(builder, document, text, pos);
      pos = SkipMarkup(document, pos, builder);
      text = pos;
    }
    AddWithEntities(builder, document, text, size);
  }

 private:
  // From a '<': past the comment, declaration or tag there, and past the
  // content of elements that hold no prose.
  std::size_t SkipMarkup(std::string_view document, std::size_t pos, RegionBuilder& builder) {
    const auto past = [&](std::size_t from, std::string_view end) {
      const std::size_t at = document.find(end, from);
      return at == std::string_view::npos ? document.size() : at + end.size();
    };
    if (document.compare(pos, 4, "<!--") == 0) return past(pos + 4, "-->");
    if (document.compare(pos, 9, "<![CDATA[") == 0) return past(pos + 9, "]]>");
    if (document.compare(pos, 2, "<?") == 0) return past(pos + 2, "?>");
    if (document.compare(pos, 2, "<!") == 0) return past(pos + 2, ">");
    std::size_t p = pos + 1;
    const bool closing = p < document.size() && document[p] == '/';
    if (closing) ++p;
    const std::size_t nameStart = p;
    while (p < document.size() && IsNameChar(document[p])) ++p;
    if (p == nameStart) return pos + 1;  // a lone '<' is text
    const std::string name = LowerName(document.substr(nameStart, p - nameStart));
    p = Attributes(document, p, builder);
    if (closing || xml_) return p;
    if (name == "script" || name == "style" || name == "code" || name == "pre") {
      // Up to the matching end tag (a <code> inside <pre> is passed over).
      const std::string end = "</" + name;
      while (p < document.size()) {
        const std::size_t at = document.find('<', p);
        if (at == std::string_view::npos) return document.size();
        if (StartsNoCase(document, at, end) &&
            (at + end.size() >= document.size() || !IsNameChar(document[at + end.size()]))) {
          return past(at, ">");
        }
        p = at + 1;
      }
      return document.size();
    }
    return p;
  }

  // The attributes of a tag up to its '>': the readable ones are regions.
  std::size_t Attributes(std::string_view document, std::size_t p, RegionBuilder& builder) {
    const std::size_t size = document.size();
    while (p < size && document[p] != '>') {
      if (!IsNameChar(document[p])) {
        ++p;
        continue;
      }
      const std::size_t nameStart = p;
      while (p < size && IsNameChar(document[p])) ++p;
      const std::string name = LowerName(document.substr(nameStart, p - nameStart));
      std::size_t q = p;
      while (q < size && IsSpace(document[q])) ++q;
      if (q >= size || document[q] != '=') continue;
      ++q;
      while (q < size && IsSpace(document[q])) ++q;
      std::size_t valueStart = q;
      std::size_t valueEnd = q;
      if (q < size && (document[q] == '"' || document[q] == '\'')) {
        const char quote = document[q];
        valueStart = q + 1;
        valueEnd = document.find(quote, valueStart);
        if (valueEnd == std::string_view::npos) valueEnd = size;
        p = valueEnd < size ? valueEnd + 1 : size;
      } else {
        while (valueEnd < size && !IsSpace(document[valueEnd]) && document[valueEnd] != '>') {
          ++valueEnd;
        }
        p = valueEnd;
      }
      if (!xml_ &&
          (name == "alt" || name == "title" || name == "placeholder" || name == "aria-label")) {
        AddWithEntities(builder, document, valueStart, valueEnd);
      }
    }
    return p < size ? p + 1 : size;
  }

  bool xml_;
};

}  // namespace

std::unique_ptr<Filter> MakeHtmlFilter(bool xml) {
  return std::make_unique<HtmlFilter>(xml);
}

}  // namespace spellcheck::tool
