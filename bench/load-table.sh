#!/usr/bin/env bash
# The load time and peak memory of every dictionary the tool finds (`spellcheck
# dicts`: the installed Hunspell dictionaries and the bundled word lists, the
# ones not chosen for their tags too), compiled and not, as a Markdown table.
#
# A load is a whole run of `spellcheck list -d TAG FILE` on a file of one
# word (a dictionary not chosen for its tag: `-d PATH` for Hunspell, `--main
# DIC` for a word list): start, load the dictionary into memory as every text
# check does, one word, exit; hyperfine's median of RUNS runs, nothing
# subtracted. Peak memory: /usr/bin/time's maximum resident set of one more
# run. "compiled": SPELLCHECK_CACHE is a fresh scratch folder for each
# dictionary, filled by a first run (timed once, as "first run") before the
# timed runs; "not compiled": SPELLCHECK_CACHE set to nothing. A file reached
# under several tags (links, en/en_US) is measured once.
#
# Usage: bench/load-table.sh [--tags TAG,TAG...] [--runs N] [BUILD]
#   --tags  only these tags (default: all)   --runs  timed runs (default 10)
#   BUILD   the build folder (default: build)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
tags=
runs=10
while (($#)); do
  case $1 in
    --tags) tags=,${2:?--tags needs a list},; shift 2 ;;
    --runs) runs=${2:?--runs needs a number}; shift 2 ;;
    -h | --help) sed -n '2,/^set -e/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
    -*) echo "load-table.sh: unknown option $1" >&2; exit 2 ;;
    *) break ;;
  esac
done
build=$(realpath "${1:-$here/../build}")
tool=$build/tools/spellcheck
[[ -x $tool ]] || { echo "load-table.sh: no tool at $tool; build first" >&2; exit 2; }
command -v hyperfine >/dev/null || { echo "load-table.sh: hyperfine is not installed" >&2; exit 2; }
[[ -x /usr/bin/time ]] || { echo "load-table.sh: /usr/bin/time is not installed (package time)" >&2; exit 2; }

# shellcheck source=bench/support/isolate.sh
. "$here/support/isolate.sh"
unset XDG_CACHE_HOME
work=$home/work
mkdir -p "$work"

# Every dictionary `dicts` lists: TAG<TAB>KIND<TAB>SIZE<TAB>FILE<TAB>CHOSEN.
SPELLCHECK_CACHE='' "$tool" dicts | awk -F'  +' '
  /^this run:/ { exit }
  /^also found/ { chosen = "no"; next }
  NF >= 4 { if (chosen == "") chosen = "yes"; sub(/^ +/, ""); n = split($0, f, /  +/);
            print f[1] "\t" f[2] "\t" f[3] "\t" f[4] "\t" (chosen == "yes" ? "yes" : "no") }' \
  >"$work/dicts"
[[ -s $work/dicts ]] || { echo "load-table.sh: spellcheck dicts listed nothing" >&2; exit 2; }

# ms SECONDS: as milliseconds.
ms() { awk -v s="$1" 'BEGIN { printf "%.1f", s * 1000 }'; }
mb() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
# The commands run without a shell (hyperfine -N), so that nothing is
# subtracted from times of a few milliseconds; SPELLCHECK_CACHE comes from the
# environment. median_ms CACHE COMMAND...: hyperfine's median, in ms.
median_ms() {
  SPELLCHECK_CACHE=$1 hyperfine -N --ignore-failure --warmup 1 --runs "$runs" --style none \
    --export-json "$work/run.json" "${*:2}" >"$work/hyperfine.log" 2>&1 ||
    { cat "$work/hyperfine.log" >&2; exit 2; }
  python3 -c 'import json, sys; print("%.1f" % (json.load(open(sys.argv[1]))["results"][0]["median"] * 1000))' \
    "$work/run.json"
}
# peak_kb CACHE COMMAND...: the maximum resident set of one run, in KiB.
peak_kb() {
  SPELLCHECK_CACHE=$1 /usr/bin/time -f %M -o "$work/rss" "${@:2}" >/dev/null 2>&1 </dev/null || true
  tail -1 "$work/rss" | grep -o '[0-9]*$' || echo 0
}

declare -A row_of aliases
order=()
while IFS=$'\t' read -r tag kind size file chosen; do
  [[ -z $tags || $tags == *",$tag,"* ]] || continue
  real=$(realpath "$file")
  if [[ -n ${row_of[$real]:-} ]]; then
    # The row is named by the tag whose file is no link.
    if [[ $(realpath -s "$file") == "$real" && $(cut -f4 <<<"${row_of[$real]}") != "$real" ]]; then
      aliases[$real]+=" ${row_of[$real]%%$'\t'*}"
      row_of[$real]="$tag"$'\t'"$kind"$'\t'"$size"$'\t'"$file"$'\t'"$chosen"
    else
      aliases[$real]+=" $tag"
    fi
    continue
  fi
  row_of[$real]="$tag"$'\t'"$kind"$'\t'"$size"$'\t'"$file"$'\t'"$chosen"
  order+=("$real")
done <"$work/dicts"
((${#order[@]})) || { echo "load-table.sh: no dictionary with the tags ${tags:1:-1}" >&2; exit 2; }

rows=$work/rows
: >"$rows"
echo test >"$work/word.txt"
failed=0
for real in "${order[@]}"; do
  IFS=$'\t' read -r tag kind size file chosen <<<"${row_of[$real]}"
  if [[ $chosen == yes ]]; then
    run=("$tool" list -d "$tag" "$work/word.txt")
  elif [[ $kind == hunspell ]]; then
    run=("$tool" list -d "${file%.dic}" "$work/word.txt")
  else
    run=("$tool" list --main "$file" "$work/word.txt")
  fi
  cache=$work/cache
  rm -rf "$cache"
  mkdir -p "$cache"

  # The first run compiles; it must load the dictionary (status 0 or 1).
  start=$(date +%s%N)
  status=0
  SPELLCHECK_CACHE=$cache "${run[@]}" >/dev/null 2>"$work/stderr" </dev/null || status=$?
  first=$(awk -v ns=$(($(date +%s%N) - start)) 'BEGIN { printf "%.1f", ns / 1e6 }')
  name="$tag ($kind)"
  [[ $chosen == no ]] && name="$tag ($kind, by path)"
  [[ -n ${aliases[$real]:-} ]] && name+="; also${aliases[$real]}"
  if ((status > 1)); then
    failed=$((failed + 1))
    printf '| %s | %s | FAILED (%s): %s | | | | | | |\n' "$name" "$size" "$status" \
      "$(head -1 "$work/stderr")" >>"$rows"
    continue
  fi
  compiled_kb=$(du -sk "$cache" | cut -f1)
  on_ms=$(median_ms "$cache" "${run[@]}")
  on_kb=$(peak_kb "$cache" "${run[@]}")
  off_ms=$(median_ms "" "${run[@]}")
  off_kb=$(peak_kb "" "${run[@]}")
  printf '| %s | %s | %s | %s | %s | %s | %s | %s | %s |\n' "$name" "$size" "$off_ms" "$on_ms" \
    "$first" "$(mb "$off_kb")" "$(mb "$on_kb")" "$(mb "$compiled_kb")" "$file" >>"$rows"
  rm -rf "$cache"
done

echo "## Loading each dictionary, compiled and not ($(date -u +%F), $(nproc) cores shared, load average at the end $(cut -d" " -f1-3 /proc/loadavg), median of $runs runs)"
echo
echo "\`spellcheck list -d TAG FILE\` of one word (not chosen for its tag: \`-d PATH\` or \`--main DIC\`), whole runs:" \
  "start, load, one word, exit; nothing subtracted. Not compiled: SPELLCHECK_CACHE set to nothing." \
  "Compiled: a scratch cache folder filled by the first run (its time in \"first run\")." \
  "New files: what that first run wrote (0: compiled elsewhere, e.g. the build's own compiled/ folder, or nothing to compile)."
echo
echo "| dictionary | words or stems | not compiled (ms) | compiled (ms) | first run (ms) | peak RSS not compiled (MB) | peak RSS compiled (MB) | new files (MB) | file |"
echo "|---|---:|---:|---:|---:|---:|---:|---:|---|"
cat "$rows"
echo
echo "$((${#order[@]} - failed)) of ${#order[@]} dictionaries loaded."
((failed == 0))
