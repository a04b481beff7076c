// Controls written in documents: spellcheck:ignore, disable, enable and
// disable-next-line, in plain text and in the filters' comments.
#include "ToolFixture.h"

namespace spellcheck::testing {
namespace {

struct Controlled {
  std::string name;  // the file's name tells its filter
  std::string text;
  std::string out;  // list --where
};

void PrintTo(const Controlled& document, std::ostream* os) {
  *os << document.name << ": " << document.text;
}

class InlineControlsTest : public ToolTest, public ::testing::WithParamInterface<Controlled> {};

TEST_P(InlineControlsTest, SilencesWhatTheControlsSay) {
  const Controlled& document = GetParam();
  WriteBytes(File(document.name), document.text);
  const ToolResult result = Run({"list", "--where", document.name});
  EXPECT_EQ(result.out, document.out) << result.err;
  EXPECT_EQ(result.status, document.out.empty() ? 0 : 1) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Documents, InlineControlsTest,
    ::testing::Values(
        // Ignored words are accepted after the control, not before it.
        Controlled{"t.txt", "the wrold\nspellcheck:ignore wrold zzq\nthe wrold zzq hous\n",
                   "t.txt:1:5: wrold\nt.txt:3:15: hous\n"},
        Controlled{"t.txt", "hous\nspellcheck:disable\nhous zzq\nspellcheck:enable\nmous\n",
                   "t.txt:1:1: hous\nt.txt:5:1: mous\n"},
        // Within a line: only what lies between disable and enable.
        Controlled{"t.txt", "hous spellcheck:disable zzq spellcheck:enable mous\n",
                   "t.txt:1:1: hous\nt.txt:1:47: mous\n"},
        Controlled{"t.txt", "spellcheck:disable-next-line\nhous\nmous\n", "t.txt:3:1: mous\n"},
        Controlled{"t.txt", "hous spellcheck:disable-next-line mous\nzzq\nhello wrold\n",
                   "t.txt:1:1: hous\nt.txt:1:35: mous\nt.txt:3:7: wrold\n"},
        // The list of words ends at anything but a word.
        Controlled{"t.txt", "spellcheck:ignore hous --- mous\n", "t.txt:1:28: mous\n"},
        // A disable without an enable holds to the end.
        Controlled{"t.txt", "spellcheck:disable\nhous\nmous\n", ""},
        // Not a control: the marker inside a word, an unknown control.
        Controlled{"t.txt", "myspellcheck:disable hous\n",
                   "t.txt:1:1: myspellcheck\nt.txt:1:14: disable\nt.txt:1:22: hous\n"},
        Controlled{"t.txt", "spellcheck:silence hous\n",
                   "t.txt:1:1: spellcheck\nt.txt:1:12: silence\nt.txt:1:20: hous\n"},
        // In comments, which the filters never check themselves.
        Controlled{"a.cpp", "// spellcheck:ignore Wrold\nint x; // Wrold hous\n",
                   "a.cpp:2:17: hous\n"},
        Controlled{"a.cpp", "/* spellcheck:disable-next-line */\n// hous\n// mous\n",
                   "a.cpp:3:4: mous\n"},
        Controlled{"a.html",
                   "<!-- spellcheck:disable -->\n<p>hous</p>\n<!-- spellcheck:enable -->\n"
                   "<p>mous</p>\n",
                   "a.html:4:4: mous\n"},
        Controlled{"a.html", "<!-- spellcheck:ignore hous mous -->\n<p>hous mous zzq</p>\n",
                   "a.html:2:14: zzq\n"},
        Controlled{"a.tex", "% spellcheck:ignore hous\nThe hous and mous.\n",
                   "a.tex:2:10: and\na.tex:2:14: mous\n"}));

}  // namespace
}  // namespace spellcheck::testing
