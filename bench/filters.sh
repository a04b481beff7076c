#!/usr/bin/env bash
# False alarms and missed typos of the document filters, against aspell's
# modes and hunspell's, on real documents of this Debian machine: Markdown and
# HTML under /usr/share/doc, man pages of section 1, TeX sources under
# /usr/share (English ones), C headers under /usr/include and Python modules
# under /usr/lib/python3*. A seeded sample of each kind is copied to a
# temporary folder and a few typos of our own error model are planted into its
# prose (bench/plant-typos.py: words every checker accepts, turned into slips
# every checker rejects, only where no filter should skip). Then, per kind:
# words flagged per 10,000 words (of `wc -w`), the flagged words other than the
# planted typos (false alarms, and the documents' own typos), and the planted
# typos found, for:
#   spellcheck list             the filter chosen by the file's extension
#   spellcheck list --mode text no filter
#   aspell --mode=M list        markdown, html, nroff, tex; ccpp for C; perl
#                               for Python (comments and strings)
#   hunspell -l [-H|-n|-t]      -H HTML, -n nroff, -t TeX; plain for the rest
# All with en_US dictionaries (spellcheck: its bundled American English).
#
# Usage: bench/filters.sh [BUILD_FOLDER] [FILES_PER_KIND] [SEED] [TYPOS_PER_FILE]
#   defaults: build, 30, 1, 3. KEEP=DIR keeps the documents, the planted typos
#   (planted.tsv) and every tool's output in DIR.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build}
files=${2:-30}
seed=${3:-1}
typos=${4:-3}
tool=$build/tools/spellcheck
[[ -x $tool ]] || { echo "filters.sh: no tool at $tool; build first" >&2; exit 2; }
for program in hunspell aspell python3; do
  command -v $program >/dev/null || { echo "filters.sh: $program is not installed" >&2; exit 2; }
done
tool=$(cd "$(dirname "$tool")" && pwd)/spellcheck

if [[ -n ${KEEP:-} ]]; then
  work=$KEEP
  rm -rf "$work"
  mkdir -p "$work"
else
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
fi
# The user's own dictionaries play no part.
export HOME=$work SPELLCHECK_CUSTOM=$work/cust.dic LC_ALL=C.UTF-8

kinds=(markdown html nroff tex c python)
find /usr/share/doc -type f \( -name '*.md' -o -name '*.md.gz' -o -name '*.markdown' \) >"$work/markdown.list"
find /usr/share/doc -type f \( -name '*.html' -o -name '*.html.gz' -o -name '*.htm' \) >"$work/html.list"
find /usr/share/man/man1 -type f -name '*.1.gz' >"$work/nroff.list"
# TeX sources in other languages (fr-refcard.tex, pt-br-refcard.tex ...) are left out.
find /usr/share -xdev -type f \( -name '*.tex' -o -name '*.tex.gz' \) |
  grep -Ev '/[a-z]{2}(-[a-z]{2})?-[^/]*$' >"$work/tex.list" || true
find /usr/include -type f -name '*.h' >"$work/c.list"
find /usr/lib/python3* -type f -name '*.py' >"$work/python.list"

lists=()
for kind in "${kinds[@]}"; do lists+=("$kind=$work/$kind.list"); done
python3 "$here/plant-typos.py" --out "$work/docs" --manifest "$work/planted.tsv" \
  --seed "$seed" --files "$files" --typos "$typos" \
  --checker "'$tool' list --mode text" --checker "aspell -l en_US list" \
  --checker "hunspell -l -d en_US" "${lists[@]}"

aspell_mode() {
  case $1 in c) echo ccpp ;; python) echo perl ;; *) echo "$1" ;; esac
}
# aspell's options for KIND, in the array aspell_options. Python: the filter
# of aspell's perl mode (comments and "strings") with its '#' delimiter given
# here: aspell 0.60.8's perl.amf writes it \# and so checks no comment at all
# (and --mode=comment checks nothing).
set_aspell_options() {
  case $1 in
    python) aspell_options=(--mode=none --add-filter=url --add-filter=context
      --clear-context-delimiters '--add-context-delimiters=# \0' '--add-context-delimiters=" "'
      --disable-context-visible-first) ;;
    *) aspell_options=("--mode=$(aspell_mode "$1")") ;;
  esac
}
hunspell_flag() {
  case $1 in html) printf '%s\n' -H ;; nroff) printf '%s\n' -n ;; tex) printf '%s\n' -t ;; *) ;; esac
}
checkers=(filter text aspell hunspell)
describe() {
  case $1 in
    filter) echo "spellcheck list" ;;
    text) echo "spellcheck list --mode text" ;;
    aspell) [[ $2 == python ]] && echo "aspell perl filter, # fixed" ||
      echo "aspell --mode=$(aspell_mode "$2") list" ;;
    hunspell) echo "hunspell -l $(hunspell_flag "$2")" ;;
  esac
}
# run CHECKER KIND FILE: the words CHECKER flags in FILE, one a line.
run() {
  case $1 in
    filter) "$tool" list "$3" || [[ $? == 1 ]] ;;
    text) "$tool" list --mode text "$3" || [[ $? == 1 ]] ;;
    aspell) set_aspell_options "$2"; aspell -l en_US "${aspell_options[@]}" list <"$3" ;;
    hunspell) hunspell -l -d en_US $(hunspell_flag "$2") <"$3" ;;
  esac
}

mkdir -p "$work/out"
echo "Documents: a sample of $files of each kind (seed $seed), $typos typos planted in each;" \
  "words are those of wc -w"
echo "Machine: $(nproc) cores; aspell $(aspell --version | sed 's/.*Aspell \([0-9.]*\).*/\1/')," \
  "hunspell $(hunspell --version | head -1 | sed 's/.*Hunspell \([0-9.]*\).*/\1/')"
echo
printf '%-8s %6s %8s %-30s %9s %12s %8s\n' kind files words checker "flagged/10k" "others/10k" "typos"
for kind in "${kinds[@]}"; do
  docs=("$work/docs/$kind"/*)
  [[ -e ${docs[0]} ]] || { printf '%-8s %6s  none found\n' "$kind" 0; continue; }
  words=$(cat "${docs[@]}" | wc -w)
  for checker in "${checkers[@]}"; do
    out=$work/out/$kind-$checker.tsv
    : >"$out"
    for doc in "${docs[@]}"; do
      run "$checker" "$kind" "$doc" | awk -v f="${doc#"$work/docs/"}" '{ print f "\t" $0 }' >>"$out"
    done
    # Flagged words, those that are planted typos of their file, and the rest.
    read -r flagged found others < <(awk -F'\t' -v kind="$kind" '
      NR == FNR { if ($1 == kind) planted[$2 "\t" $6] = 1; next }
      { n++; if (($1 "\t" $2) in planted) hit[$1 "\t" $2] = 1; else o++ }
      END { f = 0; for (k in hit) f++; print n + 0, f, o + 0 }' "$work/planted.tsv" "$out")
    awk -F'\t' -v kind="$kind" '$1 == kind { n++ } END { print n + 0 }' "$work/planted.tsv" >"$work/planted-$kind"
    printf '%-8s %6s %8s %-30s %9.1f %12.1f %8s\n' "$kind" ${#docs[@]} "$words" \
      "$(describe "$checker" "$kind")" \
      "$(awk -v n="$flagged" -v w="$words" 'BEGIN { print 10000 * n / w }')" \
      "$(awk -v n="$others" -v w="$words" 'BEGIN { print 10000 * n / w }')" \
      "$found/$(cat "$work/planted-$kind")"
  done
done

echo
echo "Goal: fewer false alarms than aspell's mode on every kind, no planted typo missed."
echo "(others: flagged words that are not planted typos; 'their words': those of them that the"
echo " other checker's dictionary holds, so that the rest is what the filters alone make differ)"
# others FILE: the flagged words of FILE that are not planted typos, with counts.
others() {
  awk -F'\t' -v kind="$kind" 'NR == FNR { if ($1 == kind) planted[$2 "\t" $6] = 1; next }
    !(($1 "\t" $2) in planted) { print $2 }' "$work/planted.tsv" "$1" | sort | uniq -c |
    sort -k1,1rn -k2,2
}
# held COUNTS COMMAND...: the occurrences in COUNTS of words that COMMAND (a
# checker reading words, one a line) accepts.
held() {
  local counts=$1
  shift
  awk '{ print $2 }' "$counts" | "$@" | sort -u >"$work/rejected" || true
  awk 'NR == FNR { bad[$1] = 1; next } !($2 in bad) { n += $1 } END { print n + 0 }' \
    "$work/rejected" "$counts"
}
for kind in "${kinds[@]}"; do
  [[ -e $work/out/$kind-filter.tsv ]] || continue
  others "$work/out/$kind-filter.tsv" >"$work/out/$kind-filter.others"
  others "$work/out/$kind-aspell.tsv" >"$work/out/$kind-aspell.others"
  ours=$(awk '{ n += $1 } END { print n + 0 }' "$work/out/$kind-filter.others")
  theirs=$(awk '{ n += $1 } END { print n + 0 }' "$work/out/$kind-aspell.others")
  ours_held=$(held "$work/out/$kind-filter.others" aspell -l en_US list)
  theirs_held=$(held "$work/out/$kind-aspell.others" "$tool" list --mode text)
  missed=$(awk -F'\t' -v kind="$kind" 'NR == FNR { hit[$1 "\t" $2] = 1; next }
      $1 == kind && !(($2 "\t" $6) in hit) { printf "%s%s (%s:%s)", (n++ ? ", " : ""), $6, $2, $3 }' \
      "$work/out/$kind-filter.tsv" "$work/planted.tsv")
  verdict="met"
  ((ours < theirs)) || verdict="NOT met"
  [[ -z $missed ]] || verdict="NOT met"
  echo "$kind: $verdict: others: spellcheck $ours (aspell's words $ours_held)," \
    "aspell $theirs (our words $theirs_held); planted typos missed: ${missed:-none}"
  if ((ours >= theirs)); then
    echo "  spellcheck's commonest others: count word (aspell's count; * aspell's dictionary holds it)"
    head -15 "$work/out/$kind-filter.others" | while read -r count word; do
      a=$(awk -v w="$word" '$2 == w { print $1 }' "$work/out/$kind-aspell.others")
      star=$(echo "$word" | aspell -l en_US list | grep -q . || echo '*')
      echo "    $count $word (${a:-0}$star)"
    done
  fi
done
