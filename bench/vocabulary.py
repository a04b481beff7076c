#!/usr/bin/env python3
"""False alarms and planted typos on real code and documents, against cspell 9
(its defaults) and codespell: one run, one table.

Corpora, all from packages installed on this machine (none of them a source of
the vocabularies): Python's standard library (python3.11, the top folder),
part of Go's (golang-1.19-src: net/http, os, strings, bufio), C headers
(libssl-dev: /usr/include/openssl), the JavaScript and Markdown of the npm
package express 4 and its dependencies, and the Markdown of /usr/share/doc.
Each is copied into a work folder (outside node_modules, which cspell passes
over) so that every checker reads the same files.

1. Distinct flagged words (case folded) of each checker and kind: ours with
   its defaults (min-word-length 3) and with min-word-length 4 (cspell's).
2. Typos planted by our own seeded error model (one deletion, insertion,
   keyboard-neighbour substitution or swap) in a copy: in comments, string
   literals, the names of definitions (one part of the name, at the
   definition only) and Markdown prose; a typo goes only into a correct word
   of 5 to 12 letters (and, as a second set, of 3 or 4 letters), and only
   when it is no word of any list we have (SCOWL 95, the vocabularies) nor of
   the corpus itself: such a change is a real word, which no checker can
   find. Each typo counts as found when the checker reports it on its line.

Usage: bench/vocabulary.py [BUILD_FOLDER] [--keep]
cspell 9 is installed with npm into bench/.work/cspell, express into
bench/.work/express (both ignored by git) when they are not there.
"""

import collections
import glob
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
WORK = os.path.join(HERE, ".work")
BUILD = next((a for a in sys.argv[1:] if not a.startswith("--")), os.path.join(HERE, "..", "build"))
TOOL = os.path.abspath(os.path.join(BUILD, "tools", "spellcheck"))
CSPELL = os.path.join(WORK, "cspell", "node_modules", ".bin", "cspell")
SEED = 20261209
PER_KIND = 24  # typo sites of each kind

EXT = {"python": ".py", "go": ".go", "c": ".h", "js": ".js", "markdown": ".md"}


def ensure_npm(folder, spec):
    if not os.path.isdir(os.path.join(WORK, folder, "node_modules")):
        subprocess.run(["npm", "install", "--silent", "--prefix", os.path.join(WORK, folder), spec],
                       check=True)


def sources():
    express = os.path.join(WORK, "express", "node_modules")
    go = "/usr/share/go-1.19/src"
    kinds = {
        "python": sorted(glob.glob("/usr/lib/python3.11/*.py")),
        "go": sorted(p for d in ("net/http", "os", "strings", "bufio")
                     for p in glob.glob(f"{go}/{d}/**/*.go", recursive=True) if "testdata" not in p),
        "c": sorted(glob.glob("/usr/include/openssl/*.h")),
        "js": sorted(glob.glob(f"{express}/**/*.js", recursive=True)),
        "markdown": sorted(glob.glob(f"{express}/**/*.md", recursive=True) +
                           glob.glob("/usr/share/doc/**/*.md", recursive=True)),
    }
    return {kind: [p for p in files if os.path.isfile(p)] for kind, files in kinds.items()}


def copy_corpus(kinds, root):
    for kind, files in kinds.items():
        for i, path in enumerate(files):
            # One folder, names kept unique and the extension kept.
            name = f"{i:04d}-" + os.path.basename(path)
            dest = os.path.join(root, kind, name)
            os.makedirs(os.path.dirname(dest), exist_ok=True)
            shutil.copyfile(path, dest)


def ours(folder, config):
    out = subprocess.run([TOOL, "list", "--where", "--config", config, folder],
                         capture_output=True, text=True, errors="replace").stdout
    return [tuple(line.rsplit(": ", 1)) for line in out.splitlines() if ": " in line]


def cspell(folder):
    out = subprocess.run([CSPELL, "lint", "--no-progress", "--no-summary", "--no-color",
                          "--no-must-find-files", "**"], cwd=folder, capture_output=True,
                         text=True, errors="replace").stdout
    found = []
    for line in out.splitlines():
        m = re.match(r"(.*?):(\d+):(\d+) - Unknown word \((.*?)\)", line)
        if m:
            found.append((os.path.join(folder, m.group(1)) + ":" + m.group(2), m.group(4)))
    return found


def codespell(folder):
    out = subprocess.run(["codespell", folder], capture_output=True, text=True,
                         errors="replace").stdout
    found = []
    for line in out.splitlines():
        m = re.match(r"(.*?):(\d+): (.*?) ==>", line)
        if m:
            found.append((m.group(1) + ":" + m.group(2), m.group(3)))
    return found


def at_line(findings):
    """FILE:LINE -> words, from ours' FILE:LINE:COLUMN and the others' FILE:LINE."""
    by = collections.defaultdict(set)
    for where, word in findings:
        parts = where.split(":")
        key = ":".join(parts[:2]) if len(parts) >= 3 and parts[2].isdigit() else where
        by[key].add(word.lower())
    return by


# --- the error model -------------------------------------------------------
ROWS = ["qwertyuiop", "asdfghjkl", "zxcvbnm"]
NEAR = {}
for r, row in enumerate(ROWS):
    for c, ch in enumerate(row):
        NEAR[ch] = [ROWS[r + dr][c + dc] for dr in (-1, 0, 1) for dc in (-1, 0, 1)
                    if (dr, dc) != (0, 0) and 0 <= r + dr < 3 and 0 <= c + dc < len(ROWS[r + dr])]


def typo(word, rng):
    i = rng.randrange(len(word))
    kind = rng.randrange(4)
    if kind == 0 and len(word) > 3:
        t = word[:i] + word[i + 1:]
    elif kind == 1:
        t = word[:i] + rng.choice("abcdefghijklmnopqrstuvwxyz") + word[i:]
    elif kind == 2:
        t = word[:i] + rng.choice(NEAR[word[i]]) + word[i + 1:]
    else:
        i = min(i, len(word) - 2)
        t = word[:i] + word[i + 1] + word[i] + word[i + 2:]
    return t


def known_words():
    """Every word of every list we have, lower case: a typo must be none."""
    words = set()
    for path in glob.glob("/usr/share/dict/scowl/*"):
        with open(path, encoding="utf-8", errors="replace") as f:
            words.update(w.strip().lower() for w in f)
    for path in glob.glob(os.path.join(BUILD, "share", "spellcheck", "vocabularies", "*.dic")):
        out = subprocess.run([TOOL, "dump", path], capture_output=True, text=True).stdout
        words.update(w.lower() for w in out.split())
    return words


COMMENT = {"python": r"#\s", "go": r"//\s", "c": r"(/\*|^\s*\*)\s", "js": r"//\s"}
DEFINITION = {
    "python": r"^\s*(?:def|class)\s+([A-Za-z_]\w*)",
    "go": r"^func\s+(?:\([^)]*\)\s*)?([A-Za-z_]\w*)",
    "c": r"^\w[\w\s\*]*?\b([A-Za-z_]\w*)\s*\(",
    "js": r"^\s*(?:function|class)\s+([A-Za-z_]\w*)",
}


def plant(root, kind, vocabulary, corpus_words, rng, short):
    """Plants typos into the files of root/kind; answers (file, line, typo, site)."""
    files = sorted(glob.glob(os.path.join(root, kind, "*")))
    rng.shuffle(files)
    planted = []
    sites = ["prose"] if kind == "markdown" else ["comment", "string", "definition"]
    lo, hi = (3, 4) if short else (5, 12)
    want = PER_KIND if not short else PER_KIND // 2
    for path in files:
        if len(planted) >= want:
            break
        site = sites[len(planted) % len(sites)]
        with open(path, encoding="utf-8", errors="surrogateescape") as f:
            lines = f.read().split("\n")
        candidates = []
        fenced = False
        html_comment = False
        for n, line in enumerate(lines):
            if kind == "markdown":
                if line.lstrip().startswith("```"):
                    fenced = not fenced
                    continue
                if "<!--" in line:
                    html_comment = "-->" not in line
                    continue
                if html_comment:
                    html_comment = "-->" not in line
                    continue
                if fenced or line.startswith("    ") or re.search(r"[`<>\[\]()|{}#]", line):
                    continue
                spans = [(0, len(line))]
            elif site == "comment":
                m = re.search(COMMENT[kind], line)
                if not m or '"' in line[:m.start()] or "'" in line[:m.start()]:
                    continue
                spans = [(m.end(), len(line))]
            elif site == "string":
                if re.search(COMMENT[kind], line):
                    continue
                # Prose strings: the tool takes a one-word string for a key.
                spans = [(m.start(1), m.end(1)) for m in re.finditer(r'"((?:[^"\\]|\\.)*)"', line)
                         if re.fullmatch(r"[A-Za-z ,.]{12,}", m.group(1)) and " " in m.group(1)]
            else:
                m = re.search(DEFINITION[kind], line)
                if not m or m.group(1) in ("if", "for", "while", "switch", "return", "sizeof",
                                           "int", "void", "char", "long", "short", "unsigned"):
                    continue
                spans = [(m.start(1), m.end(1))]
            for begin, end in spans:
                pattern = r"[A-Za-z][a-z]+" if site == "definition" else r"(?<![\w'./-])[a-z]+(?![\w'/:-])"
                for w in re.finditer(pattern, line[begin:end]):
                    word = w.group(0)
                    if lo <= len(word) <= hi and word.lower() in vocabulary:
                        candidates.append((n, begin + w.start(), word))
        if not candidates:
            continue
        n, col, word = rng.choice(candidates)
        for _ in range(20):
            t = typo(word.lower(), rng)
            if word[0].isupper():
                t = t[0].upper() + t[1:]
            if len(t) >= 3 and t.lower() not in vocabulary and t.lower() not in corpus_words:
                break
        else:
            continue
        line = lines[n]
        lines[n] = line[:col] + t + line[col + len(word):]
        with open(path, "w", encoding="utf-8", errors="surrogateescape") as f:
            f.write("\n".join(lines))
        planted.append((path, n + 1, t, site))
    return planted


def main():
    if not os.access(TOOL, os.X_OK):
        sys.exit(f"vocabulary.py: no tool at {TOOL}; build first")
    ensure_npm("cspell", "cspell@9")
    ensure_npm("express", "express@4")
    kinds = sources()
    work = tempfile.mkdtemp(prefix="spellcheck-vocabulary-")
    clean, planted_root = os.path.join(work, "clean"), os.path.join(work, "planted")
    copy_corpus(kinds, clean)
    copy_corpus(kinds, planted_root)
    configs = {}
    for n in (4,):
        configs[n] = os.path.join(work, f"min{n}.toml")
        with open(configs[n], "w") as f:
            f.write(f"min-word-length = {n}\n")
    default = os.path.join(work, "default.toml")
    open(default, "w").close()

    print("| kind | files | ours | ours, min 4 | cspell 9 | codespell |")
    print("| --- | --- | --- | --- | --- | --- |")
    samples = {}
    for kind in kinds:
        folder = os.path.join(clean, kind)
        o = ours(folder, default)
        o4 = ours(folder, configs[4])
        c = cspell(folder)
        s = codespell(folder)
        distinct = lambda found: {w.lower() for _, w in found}
        samples[kind] = (sorted(distinct(o)), sorted(distinct(c) - distinct(o)))
        print(f"| {kind} | {len(kinds[kind])} | {len(distinct(o)):,} | {len(distinct(o4)):,} | "
              f"{len(distinct(c)):,} | {len(distinct(s)):,} |")

    rng = random.Random(SEED)
    print("\nSamples (seeded) of what ours still flags:")
    for kind, (ours_words, _) in samples.items():
        pick = sorted(rng.sample(ours_words, min(25, len(ours_words))))
        print(f"- {kind}: " + ", ".join(pick))

    vocabulary = {w for w in known_words() if w.isalpha()}
    results = []
    for kind in kinds:
        corpus_words = set()
        for path in glob.glob(os.path.join(clean, kind, "*")):
            with open(path, encoding="utf-8", errors="replace") as f:
                corpus_words.update(w.lower() for w in re.findall(r"[A-Za-z]+", f.read()))
        for short in (False, True):
            results += [(kind, short) + p for p in
                        plant(planted_root, kind, vocabulary, corpus_words, rng, short)]

    found = {"ours": at_line(ours(planted_root, default)),
             "ours, min 4": at_line(ours(planted_root, configs[4])),
             "cspell 9": at_line(cspell(planted_root)),
             "codespell": at_line(codespell(planted_root))}
    print("\nPlanted typos found (words of 5-12 letters; of 3-4 letters):")
    print("| kind | site | planted | " + " | ".join(found) + " |")
    print("| --- | --- | --- | " + " | ".join("---" for _ in found) + " |")
    groups = collections.defaultdict(list)
    for kind, short, path, line, t, site in results:
        groups[(kind, site, short)].append((f"{path}:{line}", t.lower()))
    missed = []
    for (kind, site, short), typos in sorted(groups.items()):
        row = []
        for name, by in found.items():
            hits = sum(1 for key, t in typos if t in by.get(key, ()))
            row.append(str(hits))
            if name == "ours":
                missed += [(kind, site, key, t) for key, t in typos if t not in by.get(key, ())
                           and not short]
        label = site + (" (3-4 letters)" if short else "")
        print(f"| {kind} | {label} | {len(typos)} | " + " | ".join(row) + " |")
    print("\nMissed by ours (5-12 letters):", missed if missed else "none")
    short_missed = [(kind, site, f"{path}:{line}", t) for kind, short, path, line, t, site in results
                    if short and t.lower() not in found["ours"].get(f"{path}:{line}", ())]
    print("Missed by ours (3-4 letters):", short_missed if short_missed else "none")
    for short in (False, True):
        typos = [(f"{p}:{l}", t.lower()) for k, sh, p, l, t, site in results if sh == short]
        print(f"All {'3-4' if short else '5-12'}-letter typos: {len(typos)} planted; found: " +
              ", ".join(f"{name} {sum(1 for key, t in typos if t in by.get(key, ()))}"
                        for name, by in found.items()))
    if "--keep" in sys.argv:
        print("work folder:", work)
    else:
        shutil.rmtree(work)


main()
