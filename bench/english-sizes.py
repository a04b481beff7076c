#!/usr/bin/env python3
"""What each SCOWL size adds to the English vocabulary, and what it costs.

For each size: the words of the American lists up to it (words, capitalised
words, proper names, abbreviations, contractions), how many it adds over the
bundled list (data/american-english), and how many planted typos it accepts.
The typos come from our own seeded error model (one random deletion,
insertion, substitution by a keyboard neighbour, or swap of neighbours) applied
to common correct words (SCOWL size 35 and below, 4 letters or more): a typo
that is a word of the list goes unnoticed.

    bench/english-sizes.py [SCOWL_DIR]
"""
import glob
import os
import random
import sys

scowl = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/dict/scowl"
root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
LISTS = ["english-words", "american-words", "english-upper", "american-upper",
         "english-proper-names", "american-proper-names", "english-contractions",
         "english-abbreviations", "american-abbreviations"]


def words_upto(size):
    found = set()
    for name in LISTS:
        for path in glob.glob(f"{scowl}/{name}.*"):
            if int(path.rsplit(".", 1)[1]) <= size:
                with open(path, encoding="latin-1") as f:
                    found.update(line.strip() for line in f if line.strip())
    return found


NEIGHBOURS = {}
rows = ["qwertyuiop", "asdfghjkl", "zxcvbnm"]
for r, row in enumerate(rows):
    for c, ch in enumerate(row):
        near = set()
        for dr in (-1, 0, 1):
            if 0 <= r + dr < len(rows):
                for dc in (-1, 0, 1):
                    if 0 <= c + dc < len(rows[r + dr]) and (dr, dc) != (0, 0):
                        near.add(rows[r + dr][c + dc])
        NEIGHBOURS[ch] = sorted(near)


def typo(word, rng):
    i = rng.randrange(len(word))
    kind = rng.randrange(4)
    if kind == 0:
        return word[:i] + word[i + 1:]
    if kind == 1:
        return word[:i] + rng.choice("abcdefghijklmnopqrstuvwxyz") + word[i:]
    if kind == 2:
        ch = word[i]
        return word[:i] + rng.choice(NEIGHBOURS.get(ch, ["e"])) + word[i + 1:]
    if i == len(word) - 1:
        i -= 1
    return word[:i] + word[i + 1] + word[i] + word[i + 2:]


def main():
    with open(os.path.join(root, "data/american-english"), encoding="utf-8") as f:
        bundled = {line.strip() for line in f if line.strip()}
    common = sorted(w for w in words_upto(35) if w.isalpha() and w.islower() and len(w) >= 4)
    rng = random.Random(20261209)
    typos = []
    while len(typos) < 20000:
        word = rng.choice(common)
        t = typo(word, rng)
        if t != word:
            typos.append(t)
    # Typos are lower case: a capitalised name does not accept them, as in the tool.
    folded = lambda s: s
    print("| list | words | added over the bundled list | planted typos accepted (of 20,000) |")
    print("| --- | --- | --- | --- |")
    rows = [("bundled (wamerican)", bundled)] + [(f"SCOWL {n}", words_upto(n)) for n in (50, 55, 60, 70, 80)]
    for name, words in rows:
        lower = folded(words)
        accepted = sum(1 for t in typos if t in lower)
        print(f"| {name} | {len(words):,} | {len(words - bundled):,} | {accepted:,} ({accepted / len(typos):.1%}) |")


main()
