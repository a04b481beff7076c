#!/usr/bin/env bash
# Hunspell dictionaries, judged word by word beside hunspell itself: the
# distinct words of each language's translated manual pages (16 languages),
# one a line, checked alone by `hunspell -d TAG` (-l for the misspelled, -G -l
# for the correct) and by `spellcheck list -d TAG`. Only words both took whole
# are compared (hunspell splits at an apostrophe or hyphen where the
# dictionary's WORDCHARS lack it; we see no word in a script we have no
# letters of, and may flag one part of a hyphenated word). Prints a markdown table; the disagreements go to
# OUT/LANG.diff.tsv (word, hunspell, ours, kind), crashes to OUT/LANG.err.
#
#   bench/hunspell-differential.sh BUILD_DIR [WORDS]
#       WORDS: words of text per language (default 300000; fewer where the
#       pages hold fewer)
#   OUT (default bench/out/hunspell-differential) holds the texts and results;
#   BY_PATH=1 names our dictionary by path (/usr/share/hunspell/TAG) instead.
#
# Needs scripts/install-deps --bench (manpages-LANG, hunspell-LANG, hunspell).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: bench/hunspell-differential.sh BUILD_DIR [WORDS]}
limit=${2:-300000}
tool=$build/tools/spellcheck
out=${OUT:-bench/out/hunspell-differential}
[[ -x $tool ]] || { echo "hunspell-differential.sh: no $tool (build first)" >&2; exit 2; }
mkdir -p "$out"
tool=$(realpath "$tool")
. bench/support/isolate.sh

# The manual pages' folder and the dictionary's tag of each language.
languages=(de:de_DE fr:fr_FR pl:pl_PL ru:ru_RU es:es_ES it:it_IT nl:nl_NL cs:cs_CZ hu:hu_HU
  uk:uk_UA ro:ro_RO pt_BR:pt_BR sv:sv_SE da:da_DK el:el_GR tr:tr_TR)

echo "## Hunspell dictionaries beside hunspell $(hunspell -v | head -1 | awk '{print $NF}' | tr -d ')'), word by word ($(date -u +%F))"
echo
echo "| language | tag | words of text | distinct words | compared | same | not one word to hunspell | not one word to us | of those, we flag a part: same | ours (s) | most frequent disagreements |"
echo "|---|---|---:|---:|---:|---:|---:|---:|---:|---:|---|"
failed=0
percent() { awk -v s="$1" -v c="$2" 'BEGIN { printf "%.2f %%", c ? 100 * s / c : 100 }'; }
for entry in "${languages[@]}"; do
  dir=${entry%%:*} tag=${entry#*:}
  if [[ ! -f /usr/share/hunspell/$tag.aff || ! -d /usr/share/man/$dir ]]; then
    echo "| $dir | $tag | (manpages-$dir or the hunspell dictionary not installed) |||||||||"
    continue
  fi
  text=$out/$dir.txt words=$out/$dir.words
  [[ -s $text ]] || bench/man-text.sh "$dir" "$limit" >"$text"
  python3 bench/hunspell_words.py tokens <"$text" >"$words"
  hunspell -d "$tag" -i utf-8 -l <"$words" >"$out/$dir.hunspell-bad" 2>"$out/$dir.hunspell-err"
  hunspell -d "$tag" -i utf-8 -G -l <"$words" >"$out/$dir.hunspell-good" 2>>"$out/$dir.hunspell-err"
  dict=$tag
  [[ ${BY_PATH:-0} == 1 ]] && dict=/usr/share/hunspell/$tag
  status=0
  # Which letters are letters to us: the pipe answers nothing for a line without a word.
  python3 bench/hunspell_words.py letters <"$words" >"$out/$dir.probe.asked"
  timeout 600 "$tool" -a --no-custom -d "$dict" <"$out/$dir.probe.asked" >"$out/$dir.probe" \
    2>"$out/$dir.err" || status=$?
  start=$(date +%s.%N)
  timeout 600 "$tool" list --config "$engine_config" --no-custom --mode text --where -d "$dict" "$(realpath "$words")" \
    >"$out/$dir.ours" 2>>"$out/$dir.err" || status=$?
  seconds=$(printf '%.2f' "$(echo "$(date +%s.%N) - $start" | bc)")
  if ((status > 1)); then
    failed=1
    echo "| $dir | $tag | (spellcheck exited $status: $(head -c 200 "$out/$dir.err" | tr '\n|' ' /')) |||||||||"
    continue
  fi
  IFS=$'\t' read -r counted same hun_split ours_split parts parts_same kinds < <(python3 \
    bench/hunspell_words.py compare "$words" "$out/$dir.hunspell-bad" "$out/$dir.hunspell-good" \
    "$out/$dir.ours" "$out/$dir.probe" "/usr/share/hunspell/$tag.aff" "$out/$dir.diff.tsv")
  top=$(echo "$kinds" | tr ',' '\n' | head -3 | sed 's/=/: /' | paste -sd ';' | sed 's/;/; /g')
  echo "| $dir | $tag | $(wc -w <"$text") | $(wc -l <"$words") | $counted | $(percent "$same" "$counted") | $hun_split | $ours_split | $parts: $(percent "$parts_same" "$parts") | $seconds | $top |"
done
echo
echo "Disagreements: $out/LANG.diff.tsv (word, hunspell, ours, kind)."
exit $failed
