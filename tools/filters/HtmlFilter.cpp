// HTML and XML: the text between tags is checked, and in HTML the
// attributes people read (alt, title, placeholder, aria-label); tags, other
// attributes, comments, CDATA, processing instructions and, in HTML,
// <script>, <style>, <code> and <pre> are not. A word holding a character
// reference (caf&eacute;) is skipped whole: the reference is markup, and half
// a word is no word to judge. HTML is parsed with gumbo where it is found (as
// browsers do: unclosed and misnested tags); XML, and HTML without gumbo, by
// a small tokenizer.
#include <algorithm>
#include <cctype>

#include "filters/Filter.h"

#if SPELLCHECK_HAVE_GUMBO
#include <gumbo.h>
#endif

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

#if SPELLCHECK_HAVE_GUMBO

bool IsReadAttribute(std::string_view name) {
  return name == "alt" || name == "title" || name == "placeholder" || name == "aria-label";
}

class GumboHtmlFilter : public Filter {
 public:
  void Regions(std::string_view document, std::vector<Region>& regions) override {
    struct Deleter {
      void operator()(GumboOutput* output) const {
        gumbo_destroy_output(&kGumboDefaultOptions, output);
      }
    };
    const std::unique_ptr<GumboOutput, Deleter> output(
        gumbo_parse_with_options(&kGumboDefaultOptions, document.data(), document.size()));
    spans_.clear();
    if (output) Walk(document, output->document);
    // The tree is in document order but for what the parser moved (text
    // out of a table): places are sorted back.
    std::sort(spans_.begin(), spans_.end(),
              [](const Region& a, const Region& b) { return a.begin < b.begin; });
    RegionBuilder builder(document, regions);
    for (const Region& span : spans_) AddWithEntities(builder, document, span.begin, span.end);
  }

 private:
  // A piece of the source, when it lies in the document (gumbo makes some).
  void Source(std::string_view document, const GumboStringPiece& piece, bool quoted) {
    if (piece.data == nullptr || piece.data < document.data() ||
        piece.data + piece.length > document.data() + document.size()) {
      return;
    }
    std::size_t begin = static_cast<std::size_t>(piece.data - document.data());
    std::size_t end = begin + piece.length;
    if (quoted && end - begin >= 2 && (document[begin] == '"' || document[begin] == '\'')) {
      ++begin;
      --end;
    }
    if (begin < end) spans_.push_back({begin, end});
  }

  void Walk(std::string_view document, const GumboNode* node) {
    switch (node->type) {
      case GUMBO_NODE_TEXT:
        Source(document, node->v.text.original_text, false);
        return;
      case GUMBO_NODE_DOCUMENT:
        Children(document, node->v.document.children);
        return;
      case GUMBO_NODE_ELEMENT:
      case GUMBO_NODE_TEMPLATE: {
        const GumboElement& element = node->v.element;
        for (unsigned i = 0; i < element.attributes.length; ++i) {
          const auto* attribute = static_cast<const GumboAttribute*>(element.attributes.data[i]);
          if (IsReadAttribute(attribute->name)) Source(document, attribute->original_value, true);
        }
        if (element.tag == GUMBO_TAG_SCRIPT || element.tag == GUMBO_TAG_STYLE ||
            element.tag == GUMBO_TAG_CODE || element.tag == GUMBO_TAG_PRE) {
          return;
        }
        Children(document, element.children);
        return;
      }
      default:
        return;  // comments, CDATA, blanks
    }
  }

  void Children(std::string_view document, const GumboVector& children) {
    for (unsigned i = 0; i < children.length; ++i) {
      Walk(document, static_cast<const GumboNode*>(children.data[i]));
    }
  }

  std::vector<Region> spans_;
};

#endif

}  // namespace

std::unique_ptr<Filter> MakeHtmlFilter(bool xml) {
#if SPELLCHECK_HAVE_GUMBO
  if (!xml) return std::make_unique<GumboHtmlFilter>();
#endif
  return MakeMarkupTokenizer(xml);
}

std::unique_ptr<Filter> MakeMarkupTokenizer(bool xml) {
  return std::make_unique<HtmlFilter>(xml);
}

}  // namespace spellcheck::tool
