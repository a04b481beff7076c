#!/usr/bin/env bash
# The Debian package, built and used as a user would: built from a Release
# build under /usr (the package preset: build-package/, no tests), installed
# with apt-get, then the installed tool, manual pages, bash completion, CMake
# package and pkg-config file tried, and the package removed again, leaving
# none of its files behind. Run as root (or as a user who may use sudo) from
# anywhere; CI runs it after the native tests.
#
#   tests/package/run.sh            build, install, try, remove
#   tests/package/run.sh --keep     the same, but leave the package installed
set -euo pipefail
cd "$(dirname "$0")/../.."
source_dir=$PWD
build_dir=$source_dir/build-package

keep=""
[[ ${1-} == --keep ]] && keep=1

as_root=()
((EUID == 0)) || as_root=(sudo)

passed=0
failed=0
check() {  # check WHAT COMMAND...: passes when the command succeeds
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "package: FAILED: $what" >&2
  fi
}
phase() { echo "package: $1 (${SECONDS}s)"; }

scratch=$(mktemp -d)
installed=""
cleanup() {
  if [[ -n $installed && -z $keep ]]; then
    "${as_root[@]}" apt-get purge -y -qq spellcheck >/dev/null 2>&1 || true
  fi
  rm -rf "$scratch"
}
trap cleanup EXIT

# --- Build ------------------------------------------------------------------
phase "building the package in ${build_dir#"$source_dir"/}"
rm -f "$build_dir"/spellcheck_*.deb
cmake --workflow --preset package >"$scratch/build.log" 2>&1 || {
  tail -n 40 "$scratch/build.log" >&2
  exit 1
}
debs=("$build_dir"/spellcheck_*.deb)
[[ -f ${debs[0]} ]] || { echo "package: no spellcheck_*.deb in $build_dir" >&2; exit 1; }
deb=${debs[0]}
echo "package: ${deb#"$source_dir"/}"
dpkg-deb --field "$deb" Package Version Architecture Section Maintainer Depends |
  sed 's/^/  /'

field() { dpkg-deb --field "$deb" "$1"; }
check "Package is spellcheck" test "$(field Package)" = spellcheck
check "Section is text" test "$(field Section)" = text
check "a Maintainer" test -n "$(field Maintainer)"
check "Depends names libc6, libstdc++6 and libacl1" \
  grep -qE 'libc6.*libstdc\+\+6|libstdc\+\+6.*libc6' <<<"$(field Depends)"
check "Depends names libacl1" grep -q 'libacl1' <<<"$(field Depends)"
contents=$(dpkg-deb --contents "$deb" | awk '{ print $6 }' | sed 's#^\./#/#')
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || gcc -print-multiarch)
libdir=/usr/lib/$multiarch
for file in /usr/bin/spellcheck "$libdir/libspellcheck.so.1.0.0" "$libdir/libspellcheck.so.1" \
  "$libdir/libspellcheck.so" /usr/include/spellcheck/SpellCheck.h \
  "$libdir/cmake/spellcheck/spellcheckConfig.cmake" \
  "$libdir/cmake/spellcheck/spellcheckConfigVersion.cmake" \
  "$libdir/cmake/spellcheck/spellcheckTargets.cmake" "$libdir/pkgconfig/spellcheck.pc" \
  /usr/share/spellcheck/english.dic /usr/share/spellcheck/american-english.copyright \
  /usr/share/man/man1/spellcheck.1 /usr/share/man/man3/spellcheck.3 \
  /usr/share/bash-completion/completions/spellcheck; do
  check "the package holds $file" grep -qxF -- "$file" <<<"$contents"
done
# The vocabularies, with the licences of what they are made of: English from
# scowl always; the technical ones when scripts/install-deps fetched them.
vocabularies=(/usr/share/spellcheck/vocabularies/english.dic
  /usr/share/spellcheck/vocabularies/english.copyright)
if [[ -d "$source_dir/deps/cspell/python" ]]; then
  vocabularies+=(/usr/share/spellcheck/vocabularies/python.dic
    /usr/share/spellcheck/vocabularies/cspell-dict-python.LICENSE)
fi
for file in "${vocabularies[@]}"; do
  check "the package holds $file" grep -qxF -- "$file" <<<"$contents"
done
dpkg-deb --extract "$deb" "$scratch/unpacked"
check "the library's soname is libspellcheck.so.1" \
  grep -qE 'SONAME +libspellcheck\.so\.1$' <<<"$(objdump -p "$scratch/unpacked$libdir/libspellcheck.so.1.0.0")"
check "a shlibs file for libspellcheck.so.1" \
  grep -q '^libspellcheck 1 spellcheck' <<<"$(dpkg-deb --info "$deb" shlibs)"

# --- Install ----------------------------------------------------------------
phase "installing"
export DEBIAN_FRONTEND=noninteractive
installed=1
"${as_root[@]}" apt-get install -y -qq "$deb" >"$scratch/install.log" 2>&1 || {
  cat "$scratch/install.log" >&2
  exit 1
}
check "dpkg says installed" \
  test "$(dpkg-query -W -f='${Status}' spellcheck)" = "install ok installed"
installed_files=$(dpkg -L spellcheck)

# The tool, with the bundled dictionary and no one's own custom dictionary.
run_tool() {
  env -u SPELLCHECK_MAIN -u SPELLCHECK_CUSTOM HOME="$scratch/home" \
    XDG_DATA_HOME="$scratch/data" /usr/bin/spellcheck "$@"
}
status=0
listed=$(run_tool list "$source_dir/data/sample.txt") || status=$?
check "spellcheck list data/sample.txt gives the four misspelled words" \
  test "$listed" = "$(printf 'definately\nrecieve\nlangauge\nseperate')"
check "spellcheck list exits 1 (status $status)" test "$status" = 1
version=$(run_tool --version)
check "spellcheck --version names the version" \
  grep -qx "spellcheck $(field Version | sed 's/-.*//')" <<<"$version"
check "spellcheck --version lists /usr/share/spellcheck/english.dic" \
  grep -qE '^  english\.dic: [0-9]+ words' <<<"$version"
check "spellcheck --version names the folder" \
  grep -qx 'dictionaries in /usr/share/spellcheck:' <<<"$version"
check "the pipe's banner names the same version" \
  test "$(run_tool -v)" = "@(#) International Ispell Version 3.2.06 (but really spellcheck \
$(head -n1 <<<"$version" | cut -d' ' -f2))"
check "the library is in the linker's cache" grep -q 'libspellcheck\.so\.1 ' <<<"$(ldconfig -p)"

# The manual pages and the completion, where man and bash find them.
if command -v man >/dev/null; then
  check "man -w spellcheck" test "$(man -w spellcheck)" = /usr/share/man/man1/spellcheck.1
  check "man -w 3 spellcheck" test "$(man -w 3 spellcheck)" = /usr/share/man/man3/spellcheck.3
  check "man spellcheck shows the commands" \
    grep -q 'COMMANDS' <<<"$(MANWIDTH=80 man spellcheck 2>/dev/null)"
else
  check "man (man-db) is installed: scripts/install-deps" false
fi
check "bash loads the completion on demand" \
  bash -c '. /usr/share/bash-completion/bash_completion; _completion_loader spellcheck
           complete -p spellcheck | grep -q "_spellcheck spellcheck"'

# --- Hosts built against the package ----------------------------------------
phase "building the hosts"
dictionary=/usr/share/spellcheck/english.dic
# run_host PROGRAM: runs and passes (in a scratch folder), printing what it says.
run_host() {
  local output status=0
  output=$(cd "$scratch" && "$1" "$dictionary") || status=$?
  sed 's/^/  /' <<<"$output"
  ((status == 0)) && grep -qx 'house: correct' <<<"$output" &&
    grep -qx 'recieve: misspelled' <<<"$output" && grep -qx 'error 3: Invalid filename' <<<"$output"
}
cmake -S "$source_dir/tests/package/consumer" -B "$scratch/cmake-host" \
  -DCMAKE_BUILD_TYPE=Release >"$scratch/host.log" 2>&1 &&
  cmake --build "$scratch/cmake-host" >>"$scratch/host.log" 2>&1 || cat "$scratch/host.log" >&2
check "a host built with find_package(spellcheck) runs" run_host "$scratch/cmake-host/consumer"
check "it links the installed library" \
  grep -qE "libspellcheck\.so\.1 => (/usr)?/lib/$multiarch/libspellcheck\.so\.1 " \
  <<<"$(ldd "$scratch/cmake-host/consumer")"
flags=$(pkg-config --cflags --libs spellcheck)
echo "package: pkg-config --cflags --libs spellcheck: $flags"
# shellcheck disable=SC2086  # the flags are words
c++ -std=c++17 "$source_dir/tests/package/consumer.cpp" -o "$scratch/pkg-config-host" $flags ||
  true
check "a host built with pkg-config runs" run_host "$scratch/pkg-config-host"
check "pkg-config gives the version" test "$(pkg-config --modversion spellcheck)" = \
  "$(head -n1 <<<"$version" | cut -d' ' -f2)"

# --- Remove -----------------------------------------------------------------
if [[ -n $keep ]]; then
  phase "kept installed (--keep)"
else
  phase "removing"
  "${as_root[@]}" apt-get remove -y -qq spellcheck >"$scratch/remove.log" 2>&1 || {
    cat "$scratch/remove.log" >&2
    exit 1
  }
  installed=""
  check "dpkg says not installed" \
    test "$(dpkg-query -W -f='${Status}' spellcheck 2>/dev/null || true)" != "install ok installed"
  left=()
  while read -r file; do
    [[ -n $file && ! -d $file && -e $file ]] && left+=("$file")
  done <<<"$installed_files"
  check "no file of the package is left (${left[*]-})" test ${#left[@]} = 0
  check "the library is out of the linker's cache" \
    bash -c '! ldconfig -p | grep -q "libspellcheck\.so\.1 "'
  check "no /usr/bin/spellcheck" test ! -e /usr/bin/spellcheck
  # Removed, dpkg still knows it (its maintainer scripts); purged, it forgets it.
  "${as_root[@]}" dpkg --purge spellcheck >/dev/null
  check "dpkg no longer knows the package" bash -c '! dpkg-query -W spellcheck 2>/dev/null'
fi

phase "done"
echo "package: $passed passed, $failed failed"
((failed == 0))
