#!/usr/bin/env bash
# Wall time of checking a tree of about 5,000 files: `spellcheck list` against
# cspell 9.8.0 (npm) and codespell (Debian), medians of hyperfine runs, and the
# words each flags, for context (codespell looks only for known misspellings,
# so it flags far fewer). The tree: a copy of this machine's /usr/share/doc,
# .gz files decompressed, only text files of at most 64 KiB (the few larger
# ones, generated API references and changelogs, would decide cspell's time
# alone), no dot files, at most FILES of them (a seeded choice when more).
# No warm-up run: the tree was just written and is in the page cache.
#
# Usage: bench/tree.sh [BUILD_FOLDER] [FILES] [RUNS] [SEED]
#   defaults: build, 5000, 3, 1. cspell is installed into /tmp/cspell with npm
#   when it is not there (and left out when npm is missing).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build}
limit=${2:-5000}
runs=${3:-3}
seed=${4:-1}
tool=$build/tools/spellcheck
[[ -x $tool ]] || { echo "tree.sh: no tool at $tool; build first" >&2; exit 2; }
tool=$(cd "$(dirname "$tool")" && pwd)/spellcheck
for program in hyperfine codespell python3; do
  command -v $program >/dev/null || { echo "tree.sh: $program is not installed" >&2; exit 2; }
done

cspell_version=9.8.0
cspell=/tmp/cspell/node_modules/.bin/cspell
if [[ ! -x $cspell || $("$cspell" --version 2>/dev/null) != "$cspell_version" ]]; then
  if command -v npm >/dev/null; then
    echo "tree.sh: installing cspell $cspell_version into /tmp/cspell" >&2
    npm install --silent --prefix /tmp/cspell "cspell@$cspell_version" >&2 || cspell=
  else
    echo "tree.sh: npm is not installed: cspell is left out" >&2
    cspell=
  fi
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work SPELLCHECK_CUSTOM=$work/cust.dic LC_ALL=C.UTF-8
tree=$work/tree
mkdir -p "$tree"

# The text files of /usr/share/doc (decompressed), FILES of them at most.
python3 - "$tree" "$limit" "$seed" <<'EOF'
import gzip, os, random, sys
tree, limit, seed = sys.argv[1], int(sys.argv[2]), sys.argv[3]
texts = []
for root, dirs, files in os.walk("/usr/share/doc"):
    dirs[:] = sorted(d for d in dirs if not d.startswith("."))
    for name in sorted(files):
        path = os.path.join(root, name)
        if name.startswith(".") or not os.path.isfile(path):
            continue
        try:
            with open(path, "rb") as f:
                data = f.read()
            if name.endswith(".gz"):
                data, name = gzip.decompress(data), name[:-3]
            data.decode("utf-8")
        except (OSError, EOFError, gzip.BadGzipFile, UnicodeDecodeError):
            continue
        if b"\0" in data or not data.strip() or len(data) > 64 * 1024:
            continue
        texts.append((os.path.join(os.path.relpath(root, "/usr/share/doc"), name), data))
if len(texts) > limit:
    texts = sorted(random.Random(seed).sample(texts, limit))
for rel, data in texts:
    os.makedirs(os.path.join(tree, os.path.dirname(rel)), exist_ok=True)
    with open(os.path.join(tree, rel), "wb") as f:
        f.write(data)
EOF
files=$(find "$tree" -type f | wc -l)
words=$(find "$tree" -type f -print0 | xargs -0 cat | wc -w)
bytes=$(du -sb "$tree" | cut -f1)

# `spellcheck list FOLDER` walks the folder where the tool can; otherwise the
# files are handed over by find and xargs.
mkdir -p "$work/probe/sub"
echo "wrold" >"$work/probe/sub/a.txt"
# (It exits 1 when it finds a word: the pipe's status must not decide.)
if { "$tool" list "$work/probe" 2>/dev/null || true; } | grep -qx wrold; then
  spellcheck_cmd="'$tool' list ."
else
  spellcheck_cmd="find . -type f -print0 | xargs -0 '$tool' list"
fi
commands=("$spellcheck_cmd")
names=("spellcheck")
if [[ -n $cspell ]]; then
  commands+=("'$cspell' lint --no-progress --no-summary --no-cache '**'")
  names+=("cspell $cspell_version")
fi
commands+=("codespell .")
names+=("codespell $(codespell --version)")

echo "Tree: $files files, $words words (wc -w), $((bytes / 1024 / 1024)) MiB, from /usr/share/doc"
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//');" \
  "medians of $runs runs (hyperfine)"
echo
printf '%-18s %10s %10s %14s  %s\n' program "median s" "min s" "words flagged" command
cd "$tree"
for i in "${!commands[@]}"; do
  # Each run writes what it flags to a file, counted after the last run.
  hyperfine --style none --ignore-failure --runs "$runs" --export-json "$work/time.json" \
    "${commands[$i]} >'$work/flagged.txt' 2>/dev/null" >"$work/hyperfine.log" 2>&1 ||
    { cat "$work/hyperfine.log" >&2; exit 2; }
  read -r median low < <(python3 -c '
import json, sys
r = json.load(open(sys.argv[1]))["results"][0]
print("%.2f %.2f" % (r["median"], r["min"]))' "$work/time.json")
  # Words flagged: one a line for spellcheck, "file:line:col - Unknown word"
  # lines for cspell, "file:line: word ==> fix" lines for codespell.
  flagged=$(wc -l <"$work/flagged.txt")
  printf '%-18s %10s %10s %14s  %s\n' "${names[$i]}" "$median" "$low" "$flagged" \
    "${commands[$i]//$work\//}"
done
