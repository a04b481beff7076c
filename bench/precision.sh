#!/usr/bin/env bash
# Compares the words that `spellcheck list` flags in real English texts with
# those that `hunspell -l` flags, as distinct words: both, and each alone.
#
# Usage: bench/precision.sh [BUILD_FOLDER] [TEXT...]
#   default texts: Debian's licence texts under /usr/share/common-licenses
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build}
shift || true
tool=$build/tools/spellcheck
[[ -x $tool ]] || { echo "precision.sh: no tool at $tool; build first" >&2; exit 2; }
texts=("$@")
if [[ ${#texts[@]} == 0 ]]; then
  texts=(/usr/share/common-licenses/{GPL-3,LGPL-3,Apache-2.0,MPL-2.0,GFDL-1.3,Artistic,CC0-1.0,BSD,GPL-2,LGPL-2.1,MPL-1.1})
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work SPELLCHECK_CUSTOM=$work/cust.dic LC_ALL=C.UTF-8

cat "${texts[@]}" >"$work/text.txt"
"$tool" list "$work/text.txt" | sort -u >"$work/spellcheck.txt" || true
hunspell -l -d en_US <"$work/text.txt" | sort -u >"$work/hunspell.txt"

both=$(comm -12 "$work/spellcheck.txt" "$work/hunspell.txt" | wc -l)
ours=$(wc -l <"$work/spellcheck.txt")
theirs=$(wc -l <"$work/hunspell.txt")
echo "Text: $(wc -w <"$work/text.txt") words from ${#texts[@]} files"
echo "Distinct words flagged: spellcheck $ours, hunspell $theirs, both $both"
awk -v b="$both" -v o="$ours" -v t="$theirs" 'BEGIN {
  printf "Of spellcheck'"'"'s, hunspell flags too: %.1f%%; of hunspell'"'"'s, spellcheck flags too: %.1f%%\n",
         100 * b / o, 100 * b / t }'
echo
echo "Only spellcheck: $(comm -23 "$work/spellcheck.txt" "$work/hunspell.txt" | tr '\n' ' ')"
echo
echo "Only hunspell:   $(comm -13 "$work/spellcheck.txt" "$work/hunspell.txt" | tr '\n' ' ')"
echo
echo "Both:            $(comm -12 "$work/spellcheck.txt" "$work/hunspell.txt" | tr '\n' ' ')"
