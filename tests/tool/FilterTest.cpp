// Document filters: in small real-shaped documents only the planted typos
// of their prose are reported, at their FILE:LINE:COLUMN; markup and code are
// not. Also the pipe's TeX, HTML and nroff modes.
#include <sstream>

#include "SpellcheckVersion.h"
#include "ToolFixture.h"
#include "filters/Filter.h"

namespace spellcheck::testing {
namespace {

// The words of the samples' prose.
const std::vector<std::string> Vocabulary{
    "a",      "about",    "and",   "alt",     "an",     "at",      "be",    "bold",    "box",
    "button", "by",       "check", "checks",  "click",  "code",    "file",  "first",   "for",
    "from",   "guide",    "hello", "here",    "house",  "in",      "is",    "it",      "line",
    "link",   "list",     "meet",  "name",    "named",  "note",    "of",    "on",      "one",
    "open",   "page",     "parse", "picture", "prints", "read",    "reads", "request", "see",
    "server", "some",     "table", "text",    "the",    "this",    "title", "to",      "today",
    "type",   "value",    "we",    "with",    "word",   "words",   "world", "you",     "your",
    "Thanks", "synopsis", "Ann",   "or",      "inline", "raw",     "kebab", "snake",   "home",
    "end",    "two",      "Bob",   "HTTP",    "Http",   "Regards", "search"};

class FilterTest : public ToolTest {
 protected:
  FilterTest() { WriteSorted(MainDic(), Vocabulary); }
};

struct Document {
  std::string name;  // the file's name tells its filter
  std::string text;
  std::string out;  // list --where
  std::vector<std::string> options{};
};

void PrintTo(const Document& document, std::ostream* os) {
  *os << document.name;
}

class FilterDocumentTest : public FilterTest, public ::testing::WithParamInterface<Document> {};

TEST_P(FilterDocumentTest, ReportsExactlyThePlantedTypos) {
  const Document& document = GetParam();
  if (document.name.ends_with(".md") && !tool::MakeFilter("markdown")) {
    GTEST_SKIP() << "built without md4c: Markdown is plain text";
  }
  WriteBytes(File(document.name), document.text);
  std::vector<std::string> arguments{"list", "--where"};
  arguments.insert(arguments.end(), document.options.begin(), document.options.end());
  arguments.push_back(document.name);
  const ToolResult result = Run(arguments);
  EXPECT_EQ(result.out, document.out) << result.err;
  EXPECT_EQ(result.status, document.out.empty() ? 0 : 1) << result.err;
}

// Every place reported names its word: the column counts characters.
TEST_P(FilterDocumentTest, PlacesPointAtTheWords) {
  const Document& document = GetParam();
  WriteBytes(File(document.name), document.text);
  std::vector<std::string> arguments{"list", "--where"};
  arguments.insert(arguments.end(), document.options.begin(), document.options.end());
  arguments.push_back(document.name);
  std::vector<std::string> lines;
  std::istringstream text(document.text);
  for (std::string line; std::getline(text, line);) lines.push_back(line);
  std::istringstream out(Run(arguments).out);
  for (std::string report; std::getline(out, report);) {
    const std::size_t lineAt = report.find(':', document.name.size());
    const std::size_t columnAt = report.find(':', lineAt + 1);
    const std::size_t wordAt = report.find(": ", columnAt);
    const std::size_t line = std::stoul(report.substr(lineAt + 1));
    const std::size_t column = std::stoul(report.substr(columnAt + 1));
    const std::string word = report.substr(wordAt + 2);
    ASSERT_LE(line, lines.size()) << report;
    // The samples are ASCII: a character is a byte.
    EXPECT_EQ(lines[line - 1].substr(column - 1, word.size()), word) << report;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Documents, FilterDocumentTest,
    ::testing::Values(
        // Not filtered, but addresses are single tokens: the link text stays.
        Document{"plain.txt",
                 "see [wrold](https://e.com/a), (https://x.org/qq).\n"
                 "open /usr/lib/qq or ./qq ~/qq C:\\qq\\zz a/b/c #ff00aa 0x1F at me@qq.org\n",
                 "plain.txt:1:6: wrold\n"},
        Document{"guide.md",
                 "---\ntitle: qqq zzz\n---\n"
                 "# The housse guide\n"
                 "\n"
                 "Some `qqq` text with a [lnk text](https://qq.example/zz) and\n"
                 "![a pictre](img/qq.png), <span class=\"qq\">bold</span> caf&eacute; &amp; "
                 "<https://qq.org>.\n"
                 "\n"
                 "```\nqqq zzz\n```\n"
                 "\n"
                 "    indented qqq\n"
                 "\n"
                 "| table | worrd |\n|---|---|\n| one | two |\n",
                 "guide.md:4:7: housse\n"
                 "guide.md:6:25: lnk\n"
                 "guide.md:7:5: pictre\n"
                 "guide.md:15:11: worrd\n"},
        Document{"page.html",
                 "<!DOCTYPE html>\n"
                 "<html><head><title>The tilte</title><style>p { qq: zz }</style></head>\n"
                 "<body class=\"qq\"><!-- qq zz -->\n"
                 "<p>Some txt with <b>bold</b> caf&eacute; &amp; words.</p>\n"
                 "<img src=\"qq.png\" alt=\"a pictre\" title=\"the qtitle\" data-x=\"qq\">\n"
                 "<input placeholder=\"Type hree\" aria-label=\"search bxo\">\n"
                 "<pre>qq zz</pre> <code>qq</code> <script>var qq = 1;</script> the end\n"
                 "</body></html>\n",
                 "page.html:2:24: tilte\n"
                 "page.html:4:9: txt\n"
                 "page.html:5:26: pictre\n"
                 "page.html:5:45: qtitle\n"
                 "page.html:6:26: hree\n"
                 "page.html:6:51: bxo\n"},
        Document{"notes.xml",
                 "<?xml version=\"1.0\"?>\n"
                 "<note qq=\"zz\"><!-- qq --><title>A tilte</title>\n"
                 "<![CDATA[qq zz]]><body>see the huose</body></note>\n",
                 "notes.xml:2:35: tilte\n"
                 "notes.xml:3:32: huose\n"},
        Document{"paper.tex",
                 "\\documentclass[qq]{zz}\n"
                 "\\usepackage[qq]{zzz}\n"
                 "\\begin{document}\n"
                 "\\section{The frist page}\n"
                 "Some \\emph{txt} with $qq + zz$ and \\cite{qq} and \\ref{fig:zz}.\n"
                 "% a note with a tpyo\n"
                 "\\begin{equation}\n  \\qq = zz\n\\end{equation}\n"
                 "Inline \\(qq\\) and \\[ zz \\] and caf\\'e 100\\% and \\textbf{bold worrd}.\n"
                 "\\includegraphics[width=\\qq]{zz.png}\n"
                 "See \\verb|qq zz| and \\verb+qq+ here.\n"
                 "\\begin{figure}[htbp] \\begin{minipage}[tqq]{zz}a huose\\end{minipage}\n"
                 "\\end{document}\n",
                 "paper.tex:4:14: frist\n"
                 "paper.tex:5:12: txt\n"
                 "paper.tex:6:17: tpyo\n"
                 "paper.tex:10:62: worrd\n"
                 "paper.tex:13:49: huose\n"},
        Document{"check.1",
                 ".\\\" qq zz\n"
                 ".TH QQ 1 \"2024\" \"zz\"\n"
                 ".SH NAME\n"
                 "check \\- checks wrods\n"
                 ".SH SYNOPSIS\n"
                 ".B check\n"
                 "[\\fIfile\\fR] \\fBfilenme\\fR\n"
                 ".PP\n"
                 "It \\fBprints\\fP the words \\(em one a lnie. \\\" qq zz\n"
                 ".BR list (1),\n"
                 ".IR lsit (1)\n"
                 ".nr qq 1\n",
                 "check.1:4:17: wrods\n"
                 "check.1:7:17: filenme\n"
                 "check.1:9:38: lnie\n"
                 "check.1:11:5: lsit\n"},
        Document{"mail.eml",
                 "From: Ann Qq <ann@qq.org>\n"
                 "To: Bob Zz <bob@zz.org>\n"
                 "Subject: The meeeting today\n"
                 "Message-ID: <qq@zz.org>\n"
                 "\n"
                 "Hello Bob, we meet at the huose.\n"
                 "> qq zz in the quote\n"
                 "Thanks\n"
                 "-- \n"
                 "Ann, a sgnature\n",
                 "mail.eml:3:14: meeeting\n"
                 "mail.eml:6:27: huose\n"
                 "mail.eml:10:8: sgnature\n"},
        Document{"server.cpp",
                 "#include \"qq/zz.h\"\n"
                 "// Reads the parseHttpRequst of the HTTPServr.\n"
                 "int qqZz = 0; /* a note\n   on one lnie */\n"
                 "const char* s = \"Hello\\nWrold\\tand\";\n"
                 "const char* r = R\"x(a raw vlaue)x\";\n"
                 "char c = '\"'; auto t = \"the kebab-wrd and snake_wrd\";\n",
                 "server.cpp:2:23: Requst\n"
                 "server.cpp:2:41: Servr\n"
                 "server.cpp:4:11: lnie\n"
                 "server.cpp:5:25: Wrold\n"
                 "server.cpp:6:27: vlaue\n"
                 "server.cpp:7:35: wrd\n"
                 "server.cpp:7:49: wrd\n"},
        Document{"tool.py",
                 "# Reads a fiel\n"
                 "def qq_zz(x):\n"
                 "    \"\"\"The frist line.\"\"\"\n"
                 "    return 'a wrod' + \"readFiel x\" # the end\n",
                 "tool.py:1:11: fiel\n"
                 "tool.py:3:12: frist\n"
                 "tool.py:4:15: wrod\n"
                 "tool.py:4:28: Fiel\n"},
        Document{"run.sh", "qq=\"$HOME is a huose\" # a nte\necho ${#qq} 'wrod it'\n",
                 "run.sh:1:16: huose\nrun.sh:1:27: nte\nrun.sh:2:14: wrod\n"},
        Document{"CMakeLists.txt", "# the frist line\nset(QQ \"a vlaue\")\n#[[ a nte ]]\n",
                 "CMakeLists.txt:1:7: frist\nCMakeLists.txt:2:11: vlaue\n"
                 "CMakeLists.txt:3:7: nte\n"},
        Document{"config.yml", "qq: zz # a nte\nzz: \"the vlaue\"\n",
                 "config.yml:1:12: nte\nconfig.yml:2:10: vlaue\n"},
        // --mode overrides the extension, and text means none.
        Document{"page.txt", "<p>the huose</p>\n", "page.txt:1:8: huose\n", {"--mode", "html"}},
        Document{"page.html",
                 "<abbr>the huose</abbr>\n",
                 "page.html:1:2: abbr\npage.html:1:11: huose\n",
                 {"--mode", "text"}}));

TEST_F(FilterTest, StandardInputIsTextUnlessModeSays) {
  EXPECT_EQ(Run({"list", "--where"}, "<abbr>huose</abbr>\n").out,
            "<stdin>:1:2: abbr\n<stdin>:1:7: huose\n");
  EXPECT_EQ(Run({"list", "--where", "--mode", "html"}, "<abbr>huose</abbr>\n").out,
            "<stdin>:1:7: huose\n");
}

// ispell's list mode, as flyspell runs it for a large TeX region.
TEST_F(FilterTest, IspellListModeFiltersToo) {
  const ToolResult result = Run({"-l", "-t"}, "\\emph{huose} $qq$ \\cite{zz}\n");
  EXPECT_EQ(result.out, "huose\n") << result.err;
  EXPECT_EQ(result.status, 0) << result.err;
}

TEST_F(FilterTest, UnknownModeIsAnError) {
  const ToolResult result = Run({"list", "--mode", "qq"}, "text\n");
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.err.find("unknown mode"), std::string::npos) << result.err;
}

std::vector<std::string> RegionTexts(tool::Filter& filter, std::string_view document) {
  std::vector<tool::Region> regions;
  filter.Regions(document, regions);
  std::vector<std::string> texts;
  for (const tool::Region& region : regions) {
    texts.emplace_back(document.substr(region.begin, region.end - region.begin));
  }
  return texts;
}

// HTML's parser (gumbo, where built with it) and the tokenizer that stands
// in for it find the same prose in well-formed pages.
TEST(HtmlFilters, ParserAndTokenizerAgree) {
  const std::string page =
      "<!DOCTYPE html><html><head><title>A title</title><style>p {}</style></head>\n"
      "<body><!-- note --><p class=\"x\">Some <b>bold</b> caf&eacute; text &amp; more.</p>\n"
      "<img src=\"a.png\" alt=\"a picture\" title='the title'><pre>x</pre> end\n"
      "<code>y</code><input placeholder=\"type here\" aria-label=search></body></html>\n";
  const std::vector<std::string> expected{
      "A title", "\n",        "Some ",     "bold",   " ",         " text ", " more.",
      "\n",      "a picture", "the title", " end\n", "type here", "search", "\n"};
  EXPECT_EQ(RegionTexts(*tool::MakeMarkupTokenizer(false), page), expected);
  const std::vector<std::string> parsed = RegionTexts(*tool::MakeHtmlFilter(false), page);
  std::string parsedText;
  std::string expectedText;
  for (const std::string& text : parsed) parsedText += text;
  for (const std::string& text : expected) expectedText += text;
  // Blanks between elements may fall differently; the words do not.
  std::erase_if(parsedText, [](char c) { return c == ' ' || c == '\n'; });
  std::erase_if(expectedText, [](char c) { return c == ' ' || c == '\n'; });
  EXPECT_EQ(parsedText, expectedText);
}

const std::string Banner =
    "@(#) International Ispell Version 3.2.06 (but really spellcheck " SPELLCHECK_VERSION ")\n";

struct PipeLines {
  std::string name;
  std::vector<std::string> options;
  std::string input;
  std::string answers;  // after the banner
};

class FilterPipeTest : public FilterTest, public ::testing::WithParamInterface<PipeLines> {};

TEST_P(FilterPipeTest, AnswersForTheTextOnly) {
  std::vector<std::string> arguments{"-a", "--max", "1"};
  arguments.insert(arguments.end(), GetParam().options.begin(), GetParam().options.end());
  const ToolResult result = Run(arguments, GetParam().input);
  EXPECT_EQ(result.out, Banner + GetParam().answers) << result.err;
  EXPECT_EQ(result.status, 0) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Modes, FilterPipeTest,
    ::testing::Values(
        PipeLines{"tex_option",
                  {"-t"},
                  "!\n\\emph{huose} $qq$ \\cite{zz} the hous\n",
                  "& huose 1 6: house\n& hous 1 32: house\n\n"},
        // + turns TeX on, - off again, as Emacs sends for a TeX buffer.
        PipeLines{"tex_switched",
                  {},
                  "!\n+\n\\emph{hous} $qq$\n-\n\\emph{hous} $qq$\n",
                  "& hous 1 6: house\n\n# emph 1\n& hous 1 6: house\n& qq 1 13: a\n\n"},
        PipeLines{"tex_caret", {"-t"}, "!\n^\\ref{qq} hous\n", "& hous 1 10: house\n\n"},
        // Mathematics and environments go on over the lines of the pipe.
        PipeLines{"tex_across_lines",
                  {"-t"},
                  "!\n\\begin{equation}\n  qq = \\frac{zz}{2}\n\\end{equation} hous\n"
                  "$qq\nzz$ hous\n",
                  "\n\n& hous 1 15: house\n\n\n& hous 1 4: house\n\n"},
        PipeLines{"html_option",
                  {"-H"},
                  "!\n<b class=\"qq\">hous</b> <!-- zz -->\n",
                  "& hous 1 14: house\n\n"},
        PipeLines{"nroff_option",
                  {"-n"},
                  "!\n.B hous\n\\fBhous\\fR\n",
                  "& hous 1 3: house\n\n& hous 1 3: house\n\n"}),
    [](const ::testing::TestParamInfo<PipeLines>& info) { return info.param.name; });

}  // namespace
}  // namespace spellcheck::testing
