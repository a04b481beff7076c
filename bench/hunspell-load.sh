#!/usr/bin/env bash
# Every Hunspell dictionary Debian ships, loaded by the tool: installs each
# hunspell-* dictionary package (one that would remove another is skipped),
# then for each NAME.aff + NAME.dic in /usr/share/hunspell (a name that is a
# link to another is measured once) times `spellcheck check -d
# /usr/share/hunspell/NAME WORD` (load and one check; median of RUNS runs) and
# takes its peak resident set, beside nuspell's load of the same files
# (bench/nuspell_check.cpp). Exit status 0 or 1 is a load that worked; 2, a
# signal or the time limit is a failure, listed with its standard error.
# Prints a markdown table sorted by our load time, slowest first.
#
#   bench/hunspell-load.sh BUILD_DIR [RUNS]    RUNS: default 3
#   NO_INSTALL=1 measures what is installed; OUT (default bench/out/hunspell-load)
#   holds each failure's standard error.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: bench/hunspell-load.sh BUILD_DIR [RUNS]}
runs=${2:-3}
tool=$build/tools/spellcheck
out=${OUT:-bench/out/hunspell-load}
folder=/usr/share/hunspell
[[ -x $tool ]] || { echo "hunspell-load.sh: no $tool (build first)" >&2; exit 2; }
mkdir -p "$out"
tool=$(realpath "$tool")
. bench/support/isolate.sh

if [[ ${NO_INSTALL:-0} != 1 ]]; then
  export DEBIAN_FRONTEND=noninteractive
  mapfile -t packages < <(apt-cache search --names-only '^hunspell-' | awk '{print $1}' |
    grep -v -e '^hunspell-tools$' -e '-dev$' | sort)
  for package in "${packages[@]}"; do
    [[ $(dpkg-query -W -f='${Status}' "$package" 2>/dev/null) == "install ok installed" ]] && continue
    # --no-remove: a package that conflicts with an installed one is left out.
    apt-get install -y -qq --no-install-recommends --no-remove "$package" >/dev/null 2>&1 ||
      echo "hunspell-load.sh: $package not installed (it would remove another dictionary)" >&2
  done
fi

nuspell=$out/nuspell_check
# shellcheck disable=SC2046 # pkg-config's flags are words
g++ -O2 -std=c++17 bench/nuspell_check.cpp $(pkg-config --cflags --libs nuspell) -o "$nuspell" ||
  nuspell=

# One run of a command: "SECONDS PEAK_KB STATUS", its standard error in $out/stderr.
measure() {
  local start status=0
  start=$(date +%s.%N)
  timeout 120 /usr/bin/time -f %M -o "$out/rss" "$@" >/dev/null 2>"$out/stderr" </dev/null ||
    status=$?
  [[ -s $out/rss ]] || echo 0 >"$out/rss"
  echo "$(echo "$(date +%s.%N) - $start" | bc) $(tail -1 "$out/rss" | grep -o '[0-9]*$') $status"
}
# The median of RUNS runs, and the peak memory and status of the last.
median_of_runs() {
  local run times=() line
  for ((run = 0; run < runs; run++)); do
    line=$(measure "$@")
    times+=("${line%% *}")
  done
  printf '%s\n' "${times[@]}" | sort -g | awk '{ t[NR] = $1 } END { printf "%.3f ", t[int((NR + 1) / 2)] }'
  echo "${line#* }"
}

rows=$out/rows
: >"$rows"
declare -A measured
# Files first, then links: a dictionary is measured under its own name.
for aff in $(find "$folder" -maxdepth 1 -name '*.aff' -type f | sort) \
  $(find "$folder" -maxdepth 1 -name '*.aff' -type l | sort); do
  name=$(basename "$aff" .aff)
  [[ -f $folder/$name.dic ]] || continue
  real=$(realpath "$aff")
  if [[ -n ${measured[$real]:-} ]]; then
    measured[$real]+=" $name"
    continue
  fi
  measured[$real]=$name
  words=$(head -1 "$folder/$name.dic" | tr -dc 0-9)
  read -r seconds kb status < <(median_of_runs "$tool" check -d "$folder/$name" test)
  if ((status <= 1)); then
    result=ok
  else
    result="FAILED ($status)"
    cp "$out/stderr" "$out/$name.stderr"
  fi
  nuspell_cells="| |"
  if [[ -n $nuspell ]]; then
    read -r n_seconds n_kb n_status < <(median_of_runs "$nuspell" "$folder/$name")
    nuspell_cells=$(printf '| %.3f | %.1f |' "$n_seconds" "$(echo "$n_kb / 1024" | bc -l)")
    ((n_status == 0)) || nuspell_cells="| (failed: $n_status) | |"
  fi
  printf '%s\t| %s | %s | %s | %.3f | %.1f | %s %s\n' "$seconds" "$name" "$words" \
    "$(du -Lk "$folder/$name.dic" | cut -f1)" "$seconds" "$(echo "$kb / 1024" | bc -l)" \
    "$result" "$nuspell_cells" >>"$rows"
done

echo "## Loading every Hunspell dictionary Debian ships ($(date -u +%F), $(nproc) cores shared, median of $runs runs)"
echo
echo "\`spellcheck check -d $folder/NAME test\`: load and one check; nuspell: bench/nuspell_check.cpp, load only. Names that link to these: below the table."
echo
echo "| name | words (.dic line 1) | .dic (KiB) | ours (s) | ours peak RSS (MB) | result | nuspell (s) | nuspell peak RSS (MB) |"
echo "|---|---:|---:|---:|---:|---|---:|---:|"
sort -t$'\t' -k1,1gr "$rows" | cut -f2-
echo
total=$(wc -l <"$rows")
worked=$(grep -c '| ok |' "$rows" || true)
echo "$worked of $total dictionaries loaded."
cells() { awk -F' *[|] *' -v a="$1" -v b="$2" '{ printf "%s (%s %s)", $2, $a, b }'; }
slowest=$(sort -t$'\t' -k1,1gr "$rows" | head -1 | cut -f2- | cells 5 s)
largest=$(cut -f2- "$rows" | sort -t'|' -k6,6gr | head -1 | cells 6 MB)
echo "Slowest load: $slowest; largest memory: $largest."
for name in "${!measured[@]}"; do
  [[ ${measured[$name]} == *" "* ]] && echo "- ${measured[$name]%% *} is also: ${measured[$name]#* }"
done | sort
for file in "$out"/*.stderr; do
  [[ -e $file ]] || continue
  echo
  echo "Failure $(basename "$file" .stderr):"
  echo '```'
  head -20 "$file"
  echo '```'
done
# The status says whether every dictionary loaded.
((worked == total))
