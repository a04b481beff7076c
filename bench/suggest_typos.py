#!/usr/bin/env python3
"""Typing errors on words of real text, for the suggestion comparison.

Reads the translated manual pages of one language (Debian's manpages-LL),
takes running words from their prose, and gives each chosen word one (85%)
or two (15%) errors of a seeded model of typing: a dropped letter, a doubled
letter, two neighbours swapped, a neighbouring key of the language's usual
keyboard (instead of the letter or beside it), or an accent left off or
wrong. Commoner words of the text come oftener (words are drawn from the
running text); each word is used once. Prints "misspelling<TAB>intended".

Usage: suggest_typos.py LANG COUNT SEED   (LANG: de, fr, pl, ru, es, it, nl, cs)
"""
import collections
import gzip
import os
import random
import re
import sys
import unicodedata

KEYBOARDS = {
    "qwerty": ["qwertyuiop", "asdfghjkl", "zxcvbnm"],
    "qwertz": ["qwertzuiopü", "asdfghjklöä", "yxcvbnm"],
    "azerty": ["azertyuiop", "qsdfghjklm", "wxcvbn"],
    "jcuken": ["йцукенгшщзхъ", "фывапролджэ", "ячсмитьбю"],
}
LAYOUT = {"de": "qwertz", "cs": "qwertz", "fr": "azerty", "ru": "jcuken"}
STAGGER = [0, 25, 75]  # hundredths of a key, row by row


def neighbours(layout):
    rows = KEYBOARDS[layout]
    place = {}
    for r, row in enumerate(rows):
        for i, c in enumerate(row):
            place[c] = (r, i * 100 + STAGGER[r])
    near = collections.defaultdict(list)
    for a, (ra, xa) in place.items():
        for b, (rb, xb) in place.items():
            if a != b and ((ra == rb and abs(xa - xb) == 100) or
                           (abs(ra - rb) == 1 and abs(xa - xb) < 100)):
                near[a].append(b)
    return near


ROFF_ESCAPE = re.compile(r"\\(f\[[^]]*\]|f\(..|f.|\(..|\[[^]]*\]|\*\(..|\*\[[^]]*\]|\*.|s[-+]?\d|.)")


def text_words(lang):
    root = f"/usr/share/man/{lang}"
    files = []
    for dirpath, _, names in os.walk(root):
        files += [os.path.join(dirpath, n) for n in names if n.endswith(".gz")]
    files.sort()
    words = []
    for path in files:
        try:
            with gzip.open(path, "rt", encoding="utf-8", errors="strict") as f:
                lines = f.read().splitlines()
        except (OSError, UnicodeDecodeError):
            continue
        for line in lines:
            if line.startswith((".", "'")):
                continue
            line = ROFF_ESCAPE.sub(" ", line)
            for w in re.findall(r"[^\W\d_]+", line):
                if len(w) >= 3 and not w.isupper():
                    words.append(unicodedata.normalize("NFC", w))
    return words


def base(c):
    return unicodedata.normalize("NFD", c)[0]


def main():
    lang, count, seed = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    rng = random.Random(seed)
    near = neighbours(LAYOUT.get(lang, "qwerty"))
    running = text_words(lang)
    # The language's accented letters by base letter, from the text itself.
    variants = collections.defaultdict(set)
    for w in set(running):
        for c in w.lower():
            if base(c) != c:
                variants[base(c)].add(c)

    def position(word, extra=0):
        # The first letter is hit less often.
        weights = [0.3] + [1.0] * (len(word) - 1 + extra)
        return rng.choices(range(len(word) + extra), weights)[0]

    def slip(word):
        kind = rng.choices(["drop", "double", "swap", "key", "extra", "accent"],
                           [22, 12, 18, 22, 10, 16])[0]
        lower = word.lower()
        if kind == "accent":
            at = [i for i, c in enumerate(lower) if base(c) != c]
            if not at:
                return None
            i = rng.choice(at)
            b = base(lower[i])
            others = sorted(variants[b] - {lower[i]})
            c = b if not others or rng.random() < 0.7 else rng.choice(others)
            return word[:i] + (c.upper() if word[i].isupper() else c) + word[i + 1:]
        i = position(word)
        if kind == "drop":
            return word[:i] + word[i + 1:] if len(word) > 3 else None
        if kind == "double":
            return word[:i + 1] + word[i] + word[i + 1:]
        if kind == "swap":
            i = min(i, len(word) - 2)
            if word[i] == word[i + 1]:
                return None
            return word[:i] + word[i + 1] + word[i] + word[i + 2:]
        keys = near.get(lower[i])
        if not keys:
            return None
        k = rng.choice(keys)
        if word[i].isupper():
            k = k.upper()
        if kind == "key":
            return word[:i] + k + word[i + 1:]
        # An extra key: the neighbour pressed too, before or after the letter.
        at = i + rng.randint(0, 1)
        return word[:at] + k + word[at:]

    used = set()
    out = 0
    tries = 0
    while out < count and tries < count * 200:
        tries += 1
        word = rng.choice(running)
        if word in used:
            continue
        errors = 2 if rng.random() < 0.15 else 1
        typo = word
        for _ in range(errors):
            typo = slip(typo) if typo else None
        if not typo or typo == word or typo.lower() == word.lower():
            continue
        used.add(word)
        print(f"{typo}\t{word}")
        out += 1


if __name__ == "__main__":
    main()
