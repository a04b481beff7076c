#!/usr/bin/env bash
# The language dictionaries, measured in one run: what each word list gives
# (words in the list, stored, left out and why), the time and room it takes
# to build them all, then for each language a check of words drawn from its
# own list (all should be correct) and of the same words with one letter
# changed (the share flagged), beside hunspell and aspell where Debian has
# their dictionary, and the list throughput of en_US, de_DE and fr_FR.
#
#   bench/languages.sh [BUILD] [WORDS]   BUILD: the build tree (default build),
#                                        WORDS: words drawn per language (300)
#
# Needs the word lists of data/languages.txt (scripts/install-deps) and, for
# the comparison, scripts/install-deps --bench. Words are drawn and changed
# by a seeded generator of this script's own (Park-Miller, seed 7), so every
# run draws the same words.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
count=${2:-300}
tool=$build/tools/spellcheck
dicts=/usr/share/dict
[[ -x $tool ]] || { echo "languages.sh: no $tool (build first)" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# hunspell's and aspell's names of each language's dictionary, where Debian has one.
declare -A hunspell=([en_US]=en_US [en_GB]=en_GB [de_DE]=de_DE [fr_FR]=fr_FR [es_ES]=es_ES
  [it_IT]=it_IT [pt_BR]=pt_BR [nl_NL]=nl_NL)
declare -A aspell=([en_US]=en_US [en_GB]=en_GB [en_CA]=en_CA [de_DE]=de_DE [de_CH]=de_CH
  [fr_FR]=fr_FR [es_ES]=es [it_IT]=it [pt_BR]=pt_BR [nl_NL]=nl)

mapfile -t languages < <(grep -E '^[a-z]' data/languages.txt)
# The data folder's names: en_US is english.dic.
dic() { if [[ $1 == en_US ]]; then echo "$work/english.dic"; else echo "$work/$1.dic"; fi; }

echo "## What each word list gives (spellcheck build, $(date -u +%F))"
echo
echo "| tag | package | list | encoding | lines | stored | outside cp1252 | over 24 chars | with a blank | duplicates, empty |"
echo "|---|---|---|---|---|---|---|---|---|---|"
start=$(date +%s.%N)
for line in "${languages[@]}"; do
  read -r tag package file encoding <<<"$line"
  list=$dicts/$file
  [[ $tag == en_US ]] && list=data/american-english
  [[ -f $list ]] || { echo "| $tag | $package | (not installed) |||||||"; continue; }
  "$tool" build --encoding "$encoding" "$list" -o "$(dic "$tag")" 2>"$work/$tag.log"
done
end=$(date +%s.%N)
for line in "${languages[@]}"; do
  read -r tag package file encoding <<<"$line"
  [[ -f $(dic "$tag") ]] || continue
  list=$dicts/$file
  [[ $tag == en_US ]] && list=data/american-english
  lines=$(wc -l <"$list")
  stored=$(($(stat -c %s "$(dic "$tag")") / 25))
  cp1252=$(grep -c 'code page 1252 cannot hold, left out$' "$work/$tag.log" || true)
  long=$(grep -c 'longer than 24 characters, left out$' "$work/$tag.log" || true)
  blank=$(grep -c 'holds a blank' "$work/$tag.log" || true)
  echo "| $tag | $package | $file | $encoding | $lines | $stored | $cp1252 | $long | $blank | $((lines - stored - cp1252 - long - blank)) |"
done
size=$(du -cb "$work"/*.dic | tail -1 | cut -f1)
echo
printf 'Building all %d: %.1f s (one after the other, one core), %.1f MB on disk.\n' \
  "$(ls "$work"/*.dic | wc -l)" "$(echo "$end - $start" | bc)" "$(echo "$size / 1000000" | bc -l)"

# Words drawn from the list (letters only, 3 to 24 characters, as stored) and
# the same words with one letter changed into another of the list's letters.
draw() {
  python3 - "$1" "$2" "$3" "$4" "$work/$tag.correct" "$work/$tag.changed" <<'EOF'
import sys
path, encoding, count, seed, correct, changed = sys.argv[1:]
state = int(seed)
def rand(n):
    global state
    state = state * 16807 % 2147483647
    return state % n
words = [w.strip() for w in open(path, encoding=encoding)]
words = [w for w in words if 3 <= len(w) <= 24 and w.isalpha() and
         all(c.encode('cp1252', 'ignore') for c in w)]
letters = sorted({c for w in words for c in w.lower()})
picked = [words[rand(len(words))] for _ in range(int(count))]
with open(correct, 'w', encoding='utf-8') as out:
    out.write('\n'.join(picked) + '\n')
with open(changed, 'w', encoding='utf-8') as out:
    for w in picked:
        k = rand(len(w))
        c = w[k].lower()
        while c == w[k].lower():
            c = letters[rand(len(letters))]
        out.write(w[:k] + (c.upper() if w[k].isupper() else c) + w[k + 1:] + '\n')
EOF
}

flagged() { grep -c . || true; }

echo
echo "## Words of the list, and the same with one letter changed ($count words each)"
echo
echo "| tag | spellcheck: correct flagged | changed flagged | hunspell: correct flagged | changed flagged | aspell: correct flagged | changed flagged |"
echo "|---|---|---|---|---|---|---|"
for line in "${languages[@]}"; do
  read -r tag package file encoding <<<"$line"
  [[ -f $(dic "$tag") ]] || continue
  list=$dicts/$file
  [[ $tag == en_US ]] && list=data/american-english
  pyencoding=${encoding/ISO-8859-1/latin-1}
  draw "$list" "${pyencoding/UTF-8/utf-8}" "$count" 7
  row="| $tag"
  for kind in correct changed; do
    n=$(SPELLCHECK_DATA="$work" HOME="$work" "$tool" -d "$tag" list --mode text "$work/$tag.$kind" | flagged) || true
    row+=" | $n ($((100 * n / count))%)"
  done
  if [[ -n ${hunspell[$tag]:-} ]] && command -v hunspell >/dev/null; then
    for kind in correct changed; do
      n=$(hunspell -d "${hunspell[$tag]}" -i utf-8 -l <"$work/$tag.$kind" | flagged) || true
      row+=" | $n ($((100 * n / count))%)"
    done
  else
    row+=" | – | –"
  fi
  if [[ -n ${aspell[$tag]:-} ]] && command -v aspell >/dev/null; then
    for kind in correct changed; do
      n=$(aspell -d "${aspell[$tag]}" --encoding=utf-8 list <"$work/$tag.$kind" | flagged) || true
      row+=" | $n ($((100 * n / count))%)"
    done
  else
    row+=" | – | –"
  fi
  echo "$row |"
done

# List throughput on a varied text of each language: 200,000 words drawn
# from its list, one in fifty changed, twelve to a line.
echo
echo "## spellcheck list throughput (200,000 words of text, 1 in 50 changed; best of 3)"
echo
echo "| tag | words/s | misspelled found |"
echo "|---|---|---|"
for tag in en_US de_DE fr_FR; do
  [[ -f $(dic "$tag") ]] || continue
  file=$(awk -v t="$tag" '$1 == t {print $3}' data/languages.txt)
  list=$dicts/$file
  [[ $tag == en_US ]] && list=data/american-english
  draw "$list" utf-8 200000 11
  python3 - "$work/$tag.correct" "$work/$tag.changed" "$work/$tag.text" <<'EOF'
import sys
correct = open(sys.argv[1], encoding='utf-8').read().split('\n')[:-1]
changed = open(sys.argv[2], encoding='utf-8').read().split('\n')[:-1]
words = [changed[k] if k % 50 == 0 else correct[k] for k in range(len(correct))]
with open(sys.argv[3], 'w', encoding='utf-8') as out:
    for k in range(0, len(words), 12):
        out.write(' '.join(words[k:k + 12]) + '\n')
EOF
  best=
  for _ in 1 2 3; do
    s=$(date +%s.%N)
    found=$(SPELLCHECK_DATA="$work" HOME="$work" "$tool" -d "$tag" list --mode text "$work/$tag.text" | flagged) || true
    e=$(date +%s.%N)
    t=$(echo "$e - $s" | bc)
    if [[ -z $best ]] || (($(echo "$t < $best" | bc))); then best=$t; fi
  done
  printf '| %s | %.0f | %d |\n' "$tag" "$(echo "200000 / $best" | bc -l)" "$found"
done
