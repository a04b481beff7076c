// The glob matcher shared by .gitignore files and the config file, and the
// .gitignore rules built on it.
#include <gtest/gtest.h>

#include "tree/Glob.h"
#include "tree/IgnoreRules.h"

namespace spellcheck::tool {
namespace {

struct GlobCase {
  const char* pattern;
  const char* path;
  bool isFolder;
  bool matches;
};

void PrintTo(const GlobCase& c, std::ostream* os) {
  *os << "'" << c.pattern << "' ~ '" << c.path << "'" << (c.isFolder ? " (folder)" : "");
}

class GlobTest : public ::testing::TestWithParam<GlobCase> {};

TEST_P(GlobTest, Matches) {
  const GlobCase& c = GetParam();
  EXPECT_EQ(Glob(c.pattern).Matches(c.path, c.isFolder), c.matches);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, GlobTest,
    ::testing::Values(
        // Literal names; a name without '/' matches at any depth.
        GlobCase{"a.txt", "a.txt", false, true}, GlobCase{"a.txt", "docs/a.txt", false, true},
        GlobCase{"a.txt", "b.txt", false, false}, GlobCase{"a.txt", "a.txt.bak", false, false},
        GlobCase{"docs", "docs", true, true}, GlobCase{"docs", "x/docs", true, true},
        // * and ? stop at '/'.
        GlobCase{"*.md", "README.md", false, true}, GlobCase{"*.md", "a/b/c.md", false, true},
        GlobCase{"*.md", "README.mdx", false, false}, GlobCase{"*", "anything", false, true},
        GlobCase{"a*b", "ab", false, true}, GlobCase{"a*b", "axxb", false, true},
        GlobCase{"a*b", "axxbc", false, false}, GlobCase{"docs/*.md", "docs/a.md", false, true},
        GlobCase{"docs/*.md", "docs/x/a.md", false, false}, GlobCase{"?.txt", "a.txt", false, true},
        GlobCase{"?.txt", "ab.txt", false, false}, GlobCase{"a?b", "a/b", false, false},
        GlobCase{"?.txt", "\xC3\xA9.txt", false, true},
        GlobCase{"*.min.js", "dist/app.min.js", false, true},
        GlobCase{"*.min.js", "dist/app.js", false, false},
        // A '/' at the start or inside anchors at the base folder.
        GlobCase{"/a.txt", "a.txt", false, true}, GlobCase{"/a.txt", "docs/a.txt", false, false},
        GlobCase{"docs/a.txt", "docs/a.txt", false, true},
        GlobCase{"docs/a.txt", "x/docs/a.txt", false, false},
        GlobCase{"/build", "build", true, true}, GlobCase{"/build", "src/build", true, false},
        // ** as a whole part crosses folders.
        GlobCase{"**/a.txt", "a.txt", false, true}, GlobCase{"**/a.txt", "x/y/a.txt", false, true},
        GlobCase{"**/docs/*.md", "docs/a.md", false, true},
        GlobCase{"**/docs/*.md", "p/docs/a.md", false, true},
        GlobCase{"docs/**", "docs/a.md", false, true}, GlobCase{"docs/**", "docs/x/y", false, true},
        GlobCase{"docs/**", "docs", true, false}, GlobCase{"docs/**", "doc/a", false, false},
        GlobCase{"a/**/b", "a/b", false, true}, GlobCase{"a/**/b", "a/x/b", false, true},
        GlobCase{"a/**/b", "a/x/y/b", false, true}, GlobCase{"a/**/b", "a/xb", false, false},
        GlobCase{"**", "a/b/c", false, true},
        // ** inside a name is a plain *.
        GlobCase{"a**b", "axxb", false, true}, GlobCase{"a**b", "ax/xb", false, false},
        // Sets.
        GlobCase{"[abc].txt", "b.txt", false, true}, GlobCase{"[abc].txt", "d.txt", false, false},
        GlobCase{"[a-c]x", "bx", false, true}, GlobCase{"[a-c]x", "dx", false, false},
        GlobCase{"[!a-c]x", "dx", false, true}, GlobCase{"[^a-c]x", "ax", false, false},
        GlobCase{"[]]x", "]x", false, true}, GlobCase{"a[/]b", "a/b", false, false},
        GlobCase{"[!a]", "\xC3\xA9", false, true}, GlobCase{"[a]", "\xC3\xA9", false, false},
        GlobCase{"[ab", "[ab", false, true},  // no ']': a '[' of its own
        // Escapes.
        GlobCase{"\\*.txt", "*.txt", false, true}, GlobCase{"\\*.txt", "a.txt", false, false},
        GlobCase{"a\\?", "a?", false, true}, GlobCase{"a\\?", "ab", false, false},
        // A trailing '/' matches folders only.
        GlobCase{"build/", "build", true, true}, GlobCase{"build/", "build", false, false},
        GlobCase{"build/", "src/build", true, true}, GlobCase{"docs/api/", "docs/api", true, true},
        GlobCase{"docs/api/", "x/docs/api", true, false}));

TEST(GlobTest, SaysWhetherItIsAnchored) {
  EXPECT_FALSE(Glob("*.md").Anchored());
  EXPECT_FALSE(Glob("build/").Anchored());
  EXPECT_TRUE(Glob("/build").Anchored());
  EXPECT_TRUE(Glob("docs/*.md").Anchored());
  EXPECT_EQ(Glob("docs/").Pattern(), "docs/");
}

TEST(GlobTest, ManyStarsStayFast) {
  // Backtracking over '*' is bounded by the path's parts.
  EXPECT_FALSE(GlobMatch("*a*a*a*a*a*a*a*a*b", std::string(60, 'a')));
}

struct IgnoreCase {
  const char* text;  // a .gitignore file
  const char* path;
  bool isFolder;
  IgnoreRules::Verdict verdict;
};

void PrintTo(const IgnoreCase& c, std::ostream* os) {
  *os << "'" << c.path << "' in '" << c.text << "'";
}

class IgnoreRulesTest : public ::testing::TestWithParam<IgnoreCase> {};

TEST_P(IgnoreRulesTest, Decides) {
  const IgnoreCase& c = GetParam();
  IgnoreRules rules;
  rules.AddText(c.text);
  EXPECT_EQ(rules.Decide(c.path, c.isFolder), c.verdict);
}

using V = IgnoreRules::Verdict;
INSTANTIATE_TEST_SUITE_P(
    Files, IgnoreRulesTest,
    ::testing::Values(IgnoreCase{"*.log\n", "x.log", false, V::Ignored},
                      IgnoreCase{"*.log\n", "x.txt", false, V::None},
                      // Comments, blank lines, CRLF and trailing spaces.
                      IgnoreCase{"# *.txt\n\n  \r\n*.log   \r\n", "a.txt", false, V::None},
                      IgnoreCase{"# *.txt\n\n*.log   \r\n", "a.log", false, V::Ignored},
                      IgnoreCase{"\\#x\n", "#x", false, V::Ignored},
                      IgnoreCase{"a\\ \n", "a ", false, V::Ignored},
                      // The last match decides; '!' re-includes.
                      IgnoreCase{"*.log\n!keep.log\n", "keep.log", false, V::Included},
                      IgnoreCase{"*.log\n!keep.log\n", "drop.log", false, V::Ignored},
                      IgnoreCase{"!keep.log\n*.log\n", "keep.log", false, V::Ignored},
                      IgnoreCase{"\\!x\n", "!x", false, V::Ignored},
                      // Folder patterns.
                      IgnoreCase{"build/\n", "build", true, V::Ignored},
                      IgnoreCase{"build/\n", "build", false, V::None},
                      IgnoreCase{"/out\n", "out", true, V::Ignored},
                      IgnoreCase{"/out\n", "src/out", true, V::None},
                      IgnoreCase{"docs/**/*.html\n", "docs/api/x.html", false, V::Ignored}));

TEST(IgnoreRulesTest, PathsNotBelowMatchOnlyNamePatterns) {
  IgnoreRules rules;
  rules.AddPattern("*.min.js");
  rules.AddPattern("docs/x.js");
  EXPECT_TRUE(rules.Ignores("a.min.js", false, false));
  EXPECT_FALSE(rules.Ignores("x.js", false, false));
}

}  // namespace
}  // namespace spellcheck::tool
