#!/usr/bin/env python3
"""What each built vocabulary costs in false acceptances: of 20,000 typos that
our seeded error model (bench/english-sizes.py) makes of common English words,
and that the bundled list rejects, how many the vocabulary holds (as the tool
looks them up: in any case, English as written).

    bench/vocabulary-cost.py [BUILD_FOLDER]
"""
import glob
import os
import random
import subprocess
import sys

here = os.path.dirname(os.path.abspath(__file__))
build = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "build")
sys.argv = sys.argv[:1]
source = open(os.path.join(here, "english-sizes.py")).read().split("def main")[0]
exec(source)  # words_upto, typo: the same error model

with open(os.path.join(here, "..", "data", "american-english"), encoding="utf-8") as f:
    base = {w.strip() for w in f}
common = sorted(w for w in words_upto(35) if w.isalpha() and w.islower() and len(w) >= 4)
rng = random.Random(7)
typos = []
while len(typos) < 20000:
    word = rng.choice(common)
    t = typo(word, rng)
    if t != word and t not in base:
        typos.append(t)
tool = os.path.join(build, "tools", "spellcheck")
print("| vocabulary | words | typos accepted (of 20,000) |")
print("| --- | --- | --- |")
for dic in sorted(glob.glob(os.path.join(build, "share", "spellcheck", "vocabularies", "*.dic"))):
    name = os.path.basename(dic)[:-4]
    words = subprocess.run([tool, "dump", dic], capture_output=True, text=True).stdout.split()
    held = set(words) if name == "english" else {w.lower() for w in words}
    accepted = sum(t in held for t in typos)
    print(f"| {name} | {len(words):,} | {accepted} ({accepted / len(typos):.2%}) |")
