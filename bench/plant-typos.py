#!/usr/bin/env python3
"""Picks a seeded sample of real documents of each kind, from as many installed
packages as there are (see sample), copies them into a folder (decompressed,
with the extension of their kind) and plants a few typos of our own error
model into their prose, for bench/filters.sh.

A typo goes only where every checker and every filter ought to look: a word of
a prose line of the document (not markup, code, math, a comment of TeX ...,
see sites_*), bounded by spaces, of 5 to 12 lower-case letters, that every
--checker accepts; the typo is a change of that word that every --checker
rejects. The planted typos are written to --manifest as
KIND<TAB>FILE<TAB>LINE<TAB>COLUMN<TAB>WORD<TAB>TYPO, FILE relative to --out.

Usage: plant-typos.py --out DIR --manifest FILE [--seed N] [--files N]
         [--typos N] [--min-words N] --checker CMD... KIND=LIST...
  CMD   a shell command that reads words, one a line, and prints the rejected
  LIST  a file naming the candidate documents of KIND, one a line
"""

import argparse
import bisect
import gzip
import hashlib
import html.parser
import io
import os
import random
import re
import subprocess
import sys
import tokenize

EXTENSION = {"markdown": ".md", "html": ".html", "nroff": ".1", "tex": ".tex", "c": ".h",
             "python": ".py"}
WORD = re.compile(r"[a-z]{5,12}")
AFTER = set(",.;:!?")


def read(path):
    """The text of a document, or None for a binary or undecodable one."""
    try:
        with open(path, "rb") as f:
            data = f.read()
        if path.endswith(".gz"):
            data = gzip.decompress(data)
    except (OSError, EOFError, gzip.BadGzipFile):
        return None
    if b"\0" in data[:8192]:
        return None
    try:
        return data.decode("utf-8")
    except UnicodeDecodeError:
        return None


def tokens(line, begin=0, end=None):
    """(column, word) of the words of line[begin:end] that stand between spaces,
    a punctuation mark after them at most."""
    end = len(line) if end is None else end
    for m in WORD.finditer(line, begin, end):
        s, e = m.start(), m.end()
        if s > 0 and line[s - 1] not in " \t":
            continue
        if e < len(line) and line[e] not in " \t":
            if line[e] not in AFTER or (e + 1 < len(line) and line[e + 1] not in " \t"):
                continue
        yield s, m.group()


def sites_markdown(lines):
    fence = None
    html_block = False
    start = 0
    if lines and lines[0].strip() == "---":  # YAML front matter
        for i in range(1, len(lines)):
            if lines[i].strip() in ("---", "..."):
                start = i + 1
                break
    for i in range(start, len(lines)):
        line = lines[i]
        stripped = line.lstrip()
        if fence:
            if stripped.startswith(fence):
                fence = None
            continue
        if stripped.startswith("```") or stripped.startswith("~~~"):
            fence = stripped[:3]
            continue
        if html_block:
            html_block = stripped != ""
            continue
        if stripped.startswith("<"):
            html_block = True
            continue
        if line.startswith("    ") or line.startswith("\t"):
            continue
        if any(c in line for c in "`<>[]|{}\\$") or "://" in line:
            continue
        for col, word in tokens(line):
            yield i, col, word


class HtmlSites(html.parser.HTMLParser):
    SKIP = {"pre", "script", "style", "code", "tt", "kbd", "samp", "var", "textarea", "head",
            "title", "svg", "math", "object", "listing", "xmp"}

    def __init__(self, lines):
        super().__init__(convert_charrefs=False)
        self.lines = lines
        self.skipping = 0
        self.found = []

    def handle_starttag(self, tag, attrs):
        if tag in self.SKIP:
            self.skipping += 1

    def handle_endtag(self, tag):
        if tag in self.SKIP and self.skipping:
            self.skipping -= 1

    def handle_data(self, data):
        if self.skipping:
            return
        row, col = self.getpos()
        row -= 1
        for k, part in enumerate(data.split("\n")):
            if k:
                row, col = row + 1, 0
            if row < len(self.lines):
                line = self.lines[row]
                if "&" not in part:
                    for c, word in tokens(line, col, col + len(part)):
                        self.found.append((row, c, word))
            col += len(part)


def sites_html(lines):
    parser = HtmlSites(lines)
    try:
        parser.feed("\n".join(lines))
        parser.close()
    except Exception:  # a document the parser gives up on gets no typo
        return []
    return parser.found


def sites_nroff(lines):
    started = False
    skip_until = None
    section = ""
    after_tag = False
    for i, line in enumerate(lines):
        if skip_until:
            if any(line.startswith(end) for end in skip_until):
                skip_until = None
            continue
        if line.startswith(".de") or line.startswith(".am"):
            skip_until = ("..",)
            continue
        for begin, end in ((".nf", ".fi"), (".EX", ".EE"), (".TS", ".TE"), (".Bd", ".Ed"),
                           (".EQ", ".EN"), (".PS", ".PE")):
            if line.startswith(begin):
                skip_until = (end,)
        if skip_until:
            continue
        if line.startswith(".SH") or line.startswith(".Sh"):
            started = True
            section = line[3:].strip().strip('"').upper()
            continue
        if line.startswith(".") or line.startswith("'"):
            after_tag = line.startswith(".TP")
            continue
        if after_tag:  # the tag of a .TP paragraph: often an option
            after_tag = False
            continue
        if not started or "SYNOPSIS" in section or "\\" in line:
            continue
        for col, word in tokens(line):
            yield i, col, word


TEX_SKIP = re.compile(r"\\(def|gdef|edef|xdef|let|font|newcommand|renewcommand|providecommand|"
                      r"catcode|label|ref|pageref|eqref|cite|nocite|input|include|usepackage|"
                      r"documentclass|begin|end|verb|url|href|index|setlength|newlength|"
                      r"setcounter|newcounter|newenvironment|hyphenation|bibliography|"
                      r"includegraphics|halign|hbox to|vbox to|hskip|vskip|lstinline)\b")
TEX_BLOCK = re.compile(r"\\begin\{(verbatim|Verbatim|lstlisting|alltt|comment|minted|equation|"
                       r"align|eqnarray|displaymath|math|gather|multline|flalign|alignat|"
                       r"tabbing|tikzpicture|picture)\*?\}")


def sites_tex(lines):
    start = 0
    for i, line in enumerate(lines):
        if "\\begin{document}" in line:
            start = i + 1
            break
    block = None
    for i in range(start, len(lines)):
        line = lines[i]
        if block:
            if "\\end{" + block in line:
                block = None
            continue
        m = TEX_BLOCK.search(line)
        if m:
            block = m.group(1)
            continue
        if any(c in line for c in "%$#&") or TEX_SKIP.search(line):
            continue
        if "\\[" in line or "\\(" in line or "\\]" in line or "\\)" in line:
            continue
        for col, word in tokens(line):
            yield i, col, word


CODE_LIKE = set("(){}[]=;<>#`\"@\\")


def sites_c(lines):
    """Words of comments (/* */ and //) that read as prose."""
    text = "\n".join(lines)
    spans = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if c == '"' or c == "'":
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            i = j + 1
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j
            spans.append((i + 2, j))
            i = j + 2
        elif text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            spans.append((i + 2, j))
            i = j
        else:
            i += 1
    starts = [0]
    for line in lines:
        starts.append(starts[-1] + len(line) + 1)
    for begin, end in spans:
        row = bisect.bisect_right(starts, begin) - 1
        while row < len(lines) and starts[row] < end:
            line = lines[row]
            b = max(begin - starts[row], 0)
            e = min(end - starts[row], len(line))
            piece = line[b:e]
            if not (CODE_LIKE & set(piece)) and "code" not in piece:
                for col, word in tokens(line, b, e):
                    yield row, col, word
            row += 1


def sites_python(lines):
    """Words of comments that read as prose."""
    try:
        toks = list(tokenize.generate_tokens(io.StringIO("\n".join(lines) + "\n").readline))
    except (tokenize.TokenError, SyntaxError, IndentationError):
        return []
    found = []
    for tok in toks:
        if tok.type != tokenize.COMMENT:
            continue
        row, col = tok.start
        comment = tok.string
        if comment.startswith("#!") or "-*-" in comment or (CODE_LIKE - {"#"}) & set(comment[1:]):
            continue
        first = comment[1:].split()[:1]
        if not first or first[0].endswith(":"):  # "# type: ignore", "# noqa: E501"
            continue
        line = lines[row - 1]
        for c, word in tokens(line, col + 1, col + len(comment)):
            found.append((row - 1, c, word))
    return found


SITES = {"markdown": sites_markdown, "html": sites_html, "nroff": sites_nroff, "tex": sites_tex,
         "c": sites_c, "python": sites_python}

NEIGHBOURS = {}
for row in ("qwertyuiop", "asdfghjkl", "zxcvbnm"):
    for k, ch in enumerate(row):
        NEIGHBOURS[ch] = (row[k - 1] if k else "") + (row[k + 1] if k + 1 < len(row) else "")
VOWELS = "aeiou"


def typo(rng, word):
    """One slip of our own error model: two letters swapped, a letter dropped,
    doubled or struck beside its key, or a vowel for another."""
    n = len(word)
    kind = rng.randrange(5)
    if kind == 0:
        p = rng.randrange(1, n - 1)
        return word[:p] + word[p + 1] + word[p] + word[p + 2:]
    if kind == 1:
        p = rng.randrange(1, n)
        return word[:p] + word[p + 1:]
    if kind == 2:
        p = rng.randrange(1, n)
        return word[:p] + word[p] + word[p:]
    if kind == 3:
        p = rng.randrange(1, n)
        return word[:p] + rng.choice(NEIGHBOURS[word[p]]) + word[p + 1:]
    vowels = [p for p in range(1, n) if word[p] in VOWELS]
    if not vowels:
        return word
    p = rng.choice(vowels)
    return word[:p] + rng.choice([v for v in VOWELS if v != word[p]]) + word[p + 1:]


def rejected(checkers, words):
    """The words that at least one checker rejects, and those all reject."""
    words = sorted(set(words))
    some, every = set(), set(words)
    for command in checkers:
        out = subprocess.run(command, shell=True, input="\n".join(words) + "\n",
                             capture_output=True, text=True).stdout.split()
        some |= set(out)
        every &= set(out)
    return some, every


def read_owners():
    """The installed package of each file, from dpkg's lists."""
    owners = {}
    folder = "/var/lib/dpkg/info"
    if os.path.isdir(folder):
        for name in sorted(os.listdir(folder)):
            if name.endswith(".list"):
                package = name[:-5].split(":")[0]
                with open(os.path.join(folder, name), errors="replace") as f:
                    for path in f:
                        owners.setdefault(path.rstrip("\n"), package)
    return owners


def sample(rng, candidates, count, owners):
    """A seeded sample that takes from as many packages as it can: the packages
    in a random order, one random document of each in turn, so that a package
    of thousands of man pages or headers does not make the sample alone."""
    groups = {}
    for candidate in candidates:
        path = candidate[0]
        owner = owners.get(path) or owners.get(os.path.realpath(path)) or os.path.dirname(path)
        groups.setdefault(owner, []).append(candidate)
    order = sorted(groups)
    rng.shuffle(order)
    for owner in order:
        rng.shuffle(groups[owner])
    chosen = []
    while len(chosen) < count and any(groups.values()):
        for owner in order:
            if groups[owner] and len(chosen) < count:
                chosen.append(groups[owner].pop())
    return sorted(chosen, key=lambda c: c[0])


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--out", required=True)
    ap.add_argument("--manifest", required=True)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--files", type=int, default=30)
    ap.add_argument("--typos", type=int, default=3)
    ap.add_argument("--min-words", type=int, default=200)
    ap.add_argument("--checker", action="append", required=True)
    ap.add_argument("lists", nargs="+")
    args = ap.parse_args()

    owners = read_owners()
    manifest = open(args.manifest, "w")
    for spec in args.lists:
        kind, listfile = spec.split("=", 1)
        rng = random.Random(f"{args.seed}-{kind}")
        paths = sorted({p.strip() for p in open(listfile) if p.strip()})
        seen = set()
        candidates = []  # (path, text, sites)
        for path in paths:
            text = read(path)
            if text is None or len(text.split()) < args.min_words:
                continue
            if kind == "nroff" and text.lstrip().startswith(".so "):
                continue
            digest = hashlib.sha1(text.encode()).digest()
            if digest in seen:
                continue
            seen.add(digest)
            lines = text.split("\n")
            sites = list(SITES[kind](lines))
            if len(sites) >= args.typos:
                candidates.append((path, lines, sites))
        chosen = sample(rng, candidates, args.files, owners)

        # Words every checker accepts, and of their slips those every one rejects.
        words = {w for _, _, sites in chosen for _, _, w in sites}
        bad_somewhere, _ = rejected(args.checker, words)
        plans = []
        for path, lines, sites in chosen:
            sites = [s for s in sites if s[2] not in bad_somewhere]
            rng.shuffle(sites)
            options = []
            for row, col, word in sites[: args.typos * 6]:
                slips = []
                for _ in range(6):
                    slip = typo(rng, word)
                    if slip != word and slip not in slips:
                        slips.append(slip)
                options.append((row, col, word, slips))
            plans.append((path, lines, options))
        _, bad_everywhere = rejected(args.checker,
                                     [s for _, _, o in plans for *_, slips in o for s in slips])

        os.makedirs(os.path.join(args.out, kind), exist_ok=True)
        planted_total = 0
        for number, (path, lines, options) in enumerate(plans, 1):
            base = os.path.basename(path)
            base = base[:-3] if base.endswith(".gz") else base
            stem = base[: -len(EXTENSION[kind])] if base.endswith(EXTENSION[kind]) else base
            name = os.path.join(kind, f"{number:02d}-{stem}{EXTENSION[kind]}")
            used_rows, used_words, planted = set(), set(), []
            for row, col, word, slips in options:
                if len(planted) == args.typos:
                    break
                if row in used_rows or word in used_words:
                    continue
                good = [s for s in slips if s in bad_everywhere]
                if not good:
                    continue
                slip = good[0]
                line = lines[row]
                lines[row] = line[:col] + slip + line[col + len(word):]
                used_rows.add(row)
                used_words.add(word)
                planted.append((row, col, word, slip))
            with open(os.path.join(args.out, name), "w") as f:
                f.write("\n".join(lines))
            for row, col, word, slip in sorted(planted):
                manifest.write(f"{kind}\t{name}\t{row + 1}\t{col + 1}\t{word}\t{slip}\n")
            planted_total += len(planted)
        print(f"plant-typos: {kind}: {len(plans)} of {len(candidates)} documents"
              f" ({len(paths)} found), {planted_total} typos", file=sys.stderr)
    manifest.close()


if __name__ == "__main__":
    main()
