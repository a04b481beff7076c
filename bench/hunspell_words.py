#!/usr/bin/env python3
"""Words for the Hunspell comparison, and the comparison itself.

  hunspell_words.py tokens < TEXT > WORDS
      The distinct words of a UTF-8 text, one a line, in code-point order:
      runs of letters (combining marks included), with an apostrophe or a
      hyphen kept between two letters, in NFC; such a word's parts too.

  hunspell_words.py stream < TEXT > WORDS
      Every word of the text in order, one a line (the same words as tokens).

  hunspell_words.py compare WORDS HUN_BAD HUN_GOOD OURS_WHERE DIFF_TSV
      WORDS was checked one a line by both: HUN_BAD is `hunspell -l`'s output,
      HUN_GOOD `hunspell -G -l`'s, OURS_WHERE `spellcheck list --where`'s.
      A word counts when both took it whole: hunspell printed it as it is in
      one of its two lists, and we flagged nothing on its line but the word
      itself. Writes the disagreements (word, hunspell, ours, kind) to
      DIFF_TSV and prints one line: counted, same, hunspell-split, ours-split,
      kinds as kind=count,... (most first).
"""
import collections
import re
import sys
import unicodedata

LETTER = r"[^\W\d_][\u0300-\u036f\u0483-\u0489]*"
JOINERS = "'\u2019-"
WORD = re.compile(rf"(?:{LETTER})+(?:[{JOINERS}](?:{LETTER})+)*")


def words(text):
    """The words of a text; "letters" such as ² (a digit to Unicode) end one."""
    text = unicodedata.normalize("NFC", text)
    for word in WORD.findall(text):
        if all(c.isalpha() or c in JOINERS or unicodedata.category(c).startswith("M") for c in word):
            yield word


def tokens():
    """Each word, and the parts of a word with inner apostrophes or hyphens,
    as a checker that splits it there would see them."""
    distinct = set()
    for word in words(sys.stdin.read()):
        distinct.add(word)
        distinct.update(re.split(f"[{JOINERS}]", word))
    for word in sorted(distinct):
        print(word)


def stream():
    sys.stdout.writelines(word + "\n" for word in words(sys.stdin.read()))


def shape(word):
    """The kind of a word, for grouping disagreements."""
    letters = [c for c in word if c.isalpha()]
    if all(c.isupper() for c in letters):
        case = "UPPER" if len(letters) > 1 else "Title"
    elif letters[0].isupper() and all(not c.isupper() for c in letters[1:]):
        case = "Title"
    elif all(not c.isupper() for c in letters):
        case = "lower"
    else:
        case = "MiXed"
    joiner = ""
    if "-" in word:
        joiner += "+hyphen"
    if "'" in word or "\u2019" in word:
        joiner += "+apostrophe"
    return case + joiner


def compare(words_path, bad_path, good_path, where_path, diff_path):
    def read(path):
        with open(path, encoding="utf-8", errors="replace") as f:
            return [line.rstrip("\n") for line in f]

    words = read(words_path)
    bad, good = set(read(bad_path)), set(read(good_path))
    flagged = collections.defaultdict(list)  # line -> words we flagged on it
    for line in read(where_path):
        match = re.match(r"^.*?:(\d+):(\d+): (.*)$", line)
        if match:
            flagged[int(match.group(1))].append((int(match.group(2)), match.group(3)))
    counted = same = hun_split = ours_split = 0
    kinds = collections.Counter()
    with open(diff_path, "w", encoding="utf-8") as diff:
        diff.write("word\thunspell\tours\tkind\n")
        for number, word in enumerate(words, start=1):
            if word in bad:
                hunspell = "misspelled"
            elif word in good:
                hunspell = "correct"
            else:
                hun_split += 1
                continue
            ours_found = flagged.get(number, [])
            if not ours_found:
                ours = "correct"
            elif ours_found == [(1, word)]:
                ours = "misspelled"
            else:
                ours_split += 1
                continue
            counted += 1
            if hunspell == ours:
                same += 1
                continue
            kind = ("we flag" if ours == "misspelled" else "we accept") + " " + shape(word)
            kinds[kind] += 1
            diff.write(f"{word}\t{hunspell}\t{ours}\t{kind}\n")
    summary = ",".join(f"{k}={n}" for k, n in kinds.most_common())
    print(f"{counted}\t{same}\t{hun_split}\t{ours_split}\t{summary}")


if __name__ == "__main__":
    if sys.argv[1:2] == ["tokens"]:
        tokens()
    elif sys.argv[1:2] == ["stream"]:
        stream()
    elif sys.argv[1:2] == ["compare"] and len(sys.argv) == 7:
        compare(*sys.argv[2:])
    else:
        sys.exit(__doc__)
