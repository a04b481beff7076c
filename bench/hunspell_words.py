#!/usr/bin/env python3
"""Words for the Hunspell comparison, and the comparison itself.

  hunspell_words.py tokens < TEXT > WORDS
      The distinct words of a UTF-8 text, one a line, in code-point order:
      runs of letters (combining marks included), with an apostrophe or a
      hyphen kept between two letters, in NFC; such a word's parts too.

  hunspell_words.py stream < TEXT > WORDS
      Every word of the text in order, one a line (the same words as tokens).

  hunspell_words.py letters < WORDS > PROBE
      Each letter of the words once, as "^letter" lines for an ispell pipe:
      its answers tell which letters the pipe takes for a word.

  hunspell_words.py compare WORDS HUN_BAD HUN_GOOD OURS_WHERE OURS_PROBE AFF DIFF_TSV
      WORDS was checked one a line by both: HUN_BAD is `hunspell -l`'s output,
      HUN_GOOD `hunspell -G -l`'s, OURS_WHERE `spellcheck list --where`'s,
      OURS_PROBE `spellcheck -a`'s answers to the letters' PROBE (the asked
      lines in OURS_PROBE.asked); AFF is the dictionary's .aff.
      A word counts when both took it whole: hunspell printed it as it is in
      one of its two lists (and the dictionary's SET can hold it), every
      letter of it is a letter to us, and we flagged nothing on its line but
      the word itself. A word of which we flagged only a part is counted
      apart. Writes the disagreements (word, hunspell, ours, kind) to
      DIFF_TSV and prints one line: compared, same, not one word to hunspell,
      not one word to us, part-flagged, of those same, and the kinds of
      disagreement as kind=count,... (most first).
"""
import codecs
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


def script(letter):
    """The script of a letter, from its Unicode name: LATIN, CYRILLIC, ..."""
    return unicodedata.name(letter, "?").split()[0]


def shape(word, main_script):
    """The kind of a word, for grouping disagreements: its case, its inner
    apostrophes and hyphens, one letter alone, letters of another script."""
    letters = [c for c in word if c.isalpha()]
    if len(letters) == 1:
        case = "one letter"
        if script(letters[0]) != main_script:
            case += " " + script(letters[0]).lower()
        return case
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
    others = {script(c) for c in letters} - {main_script}
    return case + joiner + "".join(" " + other.lower() for other in sorted(others))


def letters():
    seen = sorted({c for line in sys.stdin for c in line if c.isalpha()})
    sys.stdout.writelines(f"^{c}\n" for c in seen)


def not_letters(letters_path, probe_path):
    """The probed letters the pipe found no word in (an empty answer)."""
    with open(letters_path, encoding="utf-8") as f:
        asked = [line.rstrip("\n")[1:] for line in f]
    with open(probe_path, encoding="utf-8", errors="replace") as f:
        answers = f.read().split("\n")[1:]  # after the banner
    result, index, answered = set(), 0, 0
    for line in answers:
        if index >= len(asked):
            break
        if line == "":
            if answered == 0:
                result.add(asked[index])
            index, answered = index + 1, 0
        else:
            answered += 1
    return result


def charset(aff_path):
    """The Python codec of a dictionary's SET, None for UTF-8 (or unknown)."""
    with open(aff_path, "rb") as f:
        for line in f:
            if line.startswith(b"SET"):
                name = line.split()[1].decode("ascii", "replace").lower()
                try:
                    codec = codecs.lookup(name.replace("microsoft-", ""))
                except LookupError:
                    return None
                return None if codec.name == "utf-8" else codec.name
    return "iso8859-1"  # hunspell's default


def compare(words_path, bad_path, good_path, where_path, probe_path, aff_path, diff_path):
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
    scripts = collections.Counter(script(c) for word in words for c in word if c.isalpha())
    main_script = scripts.most_common(1)[0][0] if scripts else "LATIN"
    ignored = not_letters(probe_path + ".asked", probe_path)
    codec = charset(aff_path)
    counted = same = hun_split = ours_split = part_counted = part_same = 0
    kinds = collections.Counter()
    with open(diff_path, "w", encoding="utf-8") as diff:
        diff.write("word\thunspell\tours\tkind\n")
        for number, word in enumerate(words, start=1):
            if codec:
                try:
                    word.encode(codec)
                except UnicodeEncodeError:  # hunspell cannot convert it: no answer
                    hun_split += 1
                    continue
            if word in bad:
                hunspell = "misspelled"
            elif word in good:
                hunspell = "correct"
            else:
                hun_split += 1
                continue
            ours_found = flagged.get(number, [])
            if any(c in ignored for c in word):
                ours_split += 1
                continue
            if not ours_found:
                ours = "correct"
            elif ours_found == [(1, word)]:
                ours = "misspelled"
            else:
                # We flagged a part of it: the word is wrong to us all the same.
                ours_split += 1
                part_counted += 1
                part_same += hunspell == "misspelled"
                if hunspell == "correct":
                    kinds["we flag a part of " + shape(word, main_script)] += 1
                    parts = " ".join(part for _, part in ours_found)
                    diff.write(f"{word}\t{hunspell}\tflags {parts}\tpart\n")
                continue
            counted += 1
            if hunspell == ours:
                same += 1
                continue
            kind = ("we flag" if ours == "misspelled" else "we accept") + " " + shape(word, main_script)
            kinds[kind] += 1
            diff.write(f"{word}\t{hunspell}\t{ours}\t{kind}\n")
    summary = ",".join(f"{k}={n}" for k, n in kinds.most_common())
    print(f"{counted}\t{same}\t{hun_split}\t{ours_split}\t{part_counted}\t{part_same}\t{summary}")


if __name__ == "__main__":
    if sys.argv[1:2] == ["tokens"]:
        tokens()
    elif sys.argv[1:2] == ["stream"]:
        stream()
    elif sys.argv[1:2] == ["letters"]:
        letters()
    elif sys.argv[1:2] == ["compare"] and len(sys.argv) == 9:
        compare(*sys.argv[2:])
    else:
        sys.exit(__doc__)
