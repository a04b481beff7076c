// Markdown through md4c: the prose of paragraphs, headings, lists, tables,
// link texts and image alt texts is checked; code spans and blocks, raw HTML,
// link destinations and YAML front matter are not. md4c hands out its text
// as pointers into the document, so they map back to byte offsets; text it
// made itself (entities, nulls) is no region and breaks its word.
#include "filters/Filter.h"

#include <string>

#if SPELLCHECK_HAVE_MD4C
#include <md4c.h>
#endif

namespace spellcheck::tool {

#if SPELLCHECK_HAVE_MD4C
namespace {

// Where the text begins after front matter ("---" ... "---" or "..." at the top).
std::size_t AfterFrontMatter(std::string_view document) {
  if (!document.starts_with("---\n") && !document.starts_with("---\r\n")) return 0;
  std::size_t pos = document.find('\n') + 1;
  while (pos < document.size()) {
    std::size_t end = document.find('\n', pos);
    if (end == std::string_view::npos) end = document.size();
    std::string_view line = document.substr(pos, end - pos);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line == "---" || line == "...") return end < document.size() ? end + 1 : end;
    pos = end + 1;
  }
  return 0;  // never closed: no front matter
}

class MarkdownFilter : public Filter {
 public:
  // Software documents name APIs in prose ({SubtleCrypto}, createHash):
  // such words are checked part by part, as in code.
  bool SplitsCompounds() const override { return true; }

  void Regions(std::string_view document, std::vector<Region>& regions) override {
    RegionBuilder builder(document, regions);
    // md4c (0.4.8) reads a byte past the end of some texts
    // (fuzz_document_filters found one): it parses a copy with nulls after
    // it, whose offsets are the document's.
    std::string parsed(document);
    parsed.append(ReadPastEnd, '\0');
    State state{std::string_view(parsed.data(), document.size()), builder, 0};
    const std::size_t start = AfterFrontMatter(document);
    MD_PARSER parser{};
    parser.flags = MD_FLAG_TABLES | MD_FLAG_STRIKETHROUGH | MD_FLAG_TASKLISTS;
    parser.enter_block = [](MD_BLOCKTYPE type, void*, void* data) {
      if (type == MD_BLOCK_CODE || type == MD_BLOCK_HTML) ++static_cast<State*>(data)->skipped;
      return 0;
    };
    parser.leave_block = [](MD_BLOCKTYPE type, void*, void* data) {
      if (type == MD_BLOCK_CODE || type == MD_BLOCK_HTML) --static_cast<State*>(data)->skipped;
      return 0;
    };
    parser.enter_span = [](MD_SPANTYPE, void*, void*) { return 0; };
    parser.leave_span = [](MD_SPANTYPE, void*, void*) { return 0; };
    parser.text = [](MD_TEXTTYPE type, const MD_CHAR* text, MD_SIZE size, void* data) {
      static_cast<State*>(data)->Text(type, text, size);
      return 0;
    };
    md_parse(parsed.data() + start, static_cast<MD_SIZE>(document.size() - start), &parser, &state);
  }

 private:
  static constexpr std::size_t ReadPastEnd = 8;

  struct State {
    std::string_view document;
    RegionBuilder& builder;
    int skipped;  // inside code or HTML blocks

    void Text(MD_TEXTTYPE type, const MD_CHAR* text, MD_SIZE size) {
      const std::size_t begin = static_cast<std::size_t>(text - document.data());
      const bool inDocument = text >= document.data() && begin + size <= document.size();
      if (!inDocument) return;
      if (type == MD_TEXT_ENTITY || type == MD_TEXT_NULLCHAR) {
        builder.Break(begin, begin + size);
        return;
      }
      if (type != MD_TEXT_NORMAL || skipped > 0) return;
      builder.Add(begin, begin + size);
    }
  };
};

}  // namespace

std::unique_ptr<Filter> MakeMarkdownFilter() {
  return std::make_unique<MarkdownFilter>();
}

#else

std::unique_ptr<Filter> MakeMarkdownFilter() {
  return nullptr;
}

#endif

}  // namespace spellcheck::tool
