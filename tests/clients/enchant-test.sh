#!/usr/bin/env bash
# Enchant's own clients on the spellcheck provider: enchant-lsmod-2, the ispell
# pipe of enchant-2 and pyenchant. Enchant loads providers only from its
# compiled-in folder, so in a private mount namespace a scratch folder with the
# system's providers and ours is mounted over it; HOME and the XDG folders are
# scratch folders too, with an enchant.ordering that puts spellcheck first.
#
# Usage: enchant-test.sh MODULE DATA_FOLDER ENCHANT_MODULE_DIR SPELLCHECK_TOOL
# Exits 77 (skipped) without root, unshare, Enchant's programs or pyenchant.
set -uo pipefail

module=$1 data=$2 moduledir=$3 tool=$4

skip() {
  echo "SKIP: $*"
  exit 77
}

if [[ -z "${SPELLCHECK_ENCHANT_NAMESPACE:-}" ]]; then
  ((EUID == 0)) || skip "needs root for a private mount namespace"
  for program in unshare mount enchant-2 enchant-lsmod-2; do
    command -v "$program" >/dev/null || skip "no $program"
  done
  [[ -d "$moduledir" ]] || skip "no Enchant module folder $moduledir"
  # Debian's python3-enchant belongs to the system's Python.
  python=
  for candidate in /usr/bin/python3 python3; do
    if "$candidate" -c 'import enchant' 2>/dev/null; then
      python=$(command -v "$candidate")
      break
    fi
  done
  [[ -n "$python" ]] || skip "no Python with pyenchant (python3-enchant)"
  unshare -m true 2>/dev/null || skip "unshare -m is not permitted here"
  export SPELLCHECK_ENCHANT_NAMESPACE=1 SPELLCHECK_ENCHANT_PYTHON=$python
  exec unshare -m "$BASH" "$0" "$@"
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/modules" "$scratch/home" "$scratch/config/enchant" "$scratch/data"
for provider in "$moduledir"/*.so; do
  [[ -e "$provider" && "$(basename "$provider")" != enchant_spellcheck.so ]] &&
    cp "$provider" "$scratch/modules/"
done
cp "$module" "$scratch/modules/"
mount --bind "$scratch/modules" "$moduledir" || skip "cannot mount over $moduledir"

export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data
# A second data folder, first: a dictionary named like a tag serves that tag.
mkdir "$scratch/extra"
printf 'zorp\nblick\n' >"$scratch/extra/words"
"$tool" build --quiet "$scratch/extra/words" -o "$scratch/extra/qx_QX.dic"
export SPELLCHECK_DATA=$scratch/extra:$data
# A Hunspell dictionary of its own (a suffix, words outside code page 1252),
# so that the system's dictionaries play no part.
mkdir "$scratch/hunspell"
printf 'SET UTF-8\nTRY \xc3\xb3\xc4\x85\xc5\x82eo\nSFX S Y 1\nSFX S 0 \xc3\xb3w .\n' >"$scratch/hunspell/qy_QY.aff"
printf '2\n\xc5\x82\xc3\xb3d\xc5\xba/S\nkot/S\n' >"$scratch/hunspell/qy_QY.dic"
export SPELLCHECK_HUNSPELL_PATH=$scratch/hunspell
unset SPELLCHECK_CUSTOM SPELLCHECK_MAIN ENCHANT_CONFIG_DIR
# Debian's own ordering names en_US (aspell first): a "*" line alone would
# not win for it.
printf '*:spellcheck\nen_US:spellcheck\nen:spellcheck\n' >"$XDG_CONFIG_HOME/enchant/enchant.ordering"

passed=0 failed=0
expect() {  # NAME EXPECTED ACTUAL: ACTUAL holds EXPECTED as a whole line
  if grep -qxF -- "$2" <<<"$3"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAIL %s: no line "%s" in:\n%s\n' "$1" "$2" "$3"
  fi
}
expect_match() {  # NAME REGEX ACTUAL: a line of ACTUAL matches the extended REGEX
  if grep -qE -- "$2" <<<"$3"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAIL %s: no line matching "%s" in:\n%s\n' "$1" "$2" "$3"
  fi
}

expect lsmod "spellcheck (spellcheck Provider)" "$(enchant-lsmod-2)"
dicts=$(enchant-lsmod-2 -list-dicts)
expect list-dicts "en_US (spellcheck)" "$dicts"
expect list-dicts-en "en (spellcheck)" "$dicts"
expect lang "en_US (spellcheck)" "$(enchant-lsmod-2 -lang en_US)"
expect list-dicts-tag-file "qx_QX (spellcheck)" "$dicts"
tagged=$(printf 'zorp\nhouse\n' | enchant-2 -d qx_QX -a)
expect tag-file-correct "*" "$tagged"
expect_match tag-file-other '^[&#] house ' "$tagged"

# A Hunspell dictionary through the provider: listed, checked, suggested.
expect list-dicts-hunspell "qy_QY (spellcheck)" "$dicts"
hunspell_pipe=$(printf 'kot\xc3\xb3w \xc5\x81\xc3\xb3d\xc5\xba\nkotow\n' | enchant-2 -d qy_QY -a)
expect hunspell-correct "*" "$hunspell_pipe"
expect_match hunspell-suggest $'^& kotow [0-9]+ 0: kot\xc3\xb3w' "$hunspell_pipe"

# The ispell pipe: "*" correct, "& word count offset: ranked suggestions",
# "#" nothing to suggest.
pipe=$(printf 'house\nkitchin\nqzxjvqzxjv\n' | enchant-2 -d en_US -a)
expect pipe-correct "*" "$pipe"
expect_match pipe-suggest '^& kitchin [0-9]+ 0: kitchen, ' "$pipe"
expect pipe-nothing "# qzxjvqzxjv 0" "$pipe"

python_out=$("$SPELLCHECK_ENCHANT_PYTHON" - <<'PYTHON' 2>&1
import enchant

d = enchant.Dict("en_US")
checks = [
    ("provider", d.provider.name == "spellcheck"),
    ("check-correct", d.check("house") and d.check("House") and d.check("well-known")),
    ("check-misspelled", not d.check("hosue") and not d.check("wrold")),
]
# Planted misspellings: the intended word comes first.
for wrong, intended in [("wrold", "world"), ("kitchin", "kitchen"), ("tomorow", "tomorrow"),
                        ("elefant", "elephant"), ("Hosue", "House")]:
    got = d.suggest(wrong)
    checks.append(("suggest-" + wrong, got[:1] == [intended]))
checks.append(("unknown-before-add", not d.check("zorblaxian")))
d.add("zorblaxian")
# Enchant's own list accepts the word; the custom dictionary takes the
# hyphenated forms too.
checks.append(("add", d.check("zorblaxian") and d.check("zorblaxian-house")))
d.add_to_session("quuxlet")
checks.append(("session", d.check("quuxlet") and d.check("quuxlet-house")))
q = enchant.Dict("qy_QY")
checks.append(("hunspell-check", q.check("kot\u00f3w") and q.check("\u0141\u00f3d\u017a")
                                  and not q.check("kotow")))
checks.append(("hunspell-suggest", q.suggest("kotow")[:1] == ["kot\u00f3w"]))
for name, ok in checks:
    print(("ok " if ok else "FAIL ") + name)
PYTHON
)
for name in provider check-correct check-misspelled suggest-wrold suggest-kitchin suggest-tomorow \
  suggest-elefant suggest-Hosue unknown-before-add add session hunspell-check hunspell-suggest; do
  expect "python-$name" "ok $name" "$python_out"
done

# gspell (GTK's spelling library) on the same provider, where its
# introspection data is installed.
if "$SPELLCHECK_ENCHANT_PYTHON" -c "import gi; gi.require_version('Gspell', '1')" 2>/dev/null; then
  gspell_out=$("$SPELLCHECK_ENCHANT_PYTHON" - <<'PYTHON' 2>&1
import gi
gi.require_version("Gspell", "1")
from gi.repository import Gspell
for code, right, wrong, intended in [("en_US", "house", "kitchin", "kitchen"),
                                     ("qy_QY", "kot\u00f3w", "kotow", "kot\u00f3w")]:
    checker = Gspell.Checker.new(Gspell.Language.lookup(code))
    ok = (checker.check_word(right, -1) and not checker.check_word(wrong, -1)
          and checker.get_suggestions(wrong, -1)[:1] == [intended])
    print(("ok " if ok else "FAIL ") + "gspell-" + code)
PYTHON
)
  expect gspell-en_US "ok gspell-en_US" "$gspell_out"
  expect gspell-qy_QY "ok gspell-qy_QY" "$gspell_out"
else
  echo "gspell not installed (gir1.2-gspell-1, python3-gi): its checks left out"
fi

# Where the added word went: Enchant's personal word list and the tool's
# custom dictionary, which the tool then knows.
expect personal-list "zorblaxian" "$(cat "$XDG_CONFIG_HOME/enchant/en_US.dic" 2>&1)"
expect custom-dictionary "zorblaxian" "$("$tool" dump "$XDG_DATA_HOME/spellcheck/cust.dic" 2>&1)"
expect tool-knows "zorblaxian: correct" "$("$tool" check zorblaxian 2>&1)"
expect session-not-stored "quuxlet: misspelled" "$("$tool" check quuxlet 2>&1)"

# Enchant's remove: out of its list and out of the custom dictionary.
"$SPELLCHECK_ENCHANT_PYTHON" -c 'import enchant; enchant.Dict("en_US").remove("zorblaxian")'
expect removed "zorblaxian: misspelled" "$("$tool" check zorblaxian 2>&1)"

echo "$passed passed, $failed failed"
((failed == 0))
