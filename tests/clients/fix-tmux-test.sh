#!/bin/sh
# spellcheck fix in a real terminal: tmux runs it, keys go in with send-keys
# and the screen comes out with capture-pane.
#
# Run: fix-tmux-test.sh TOOL SCRATCH
#
# TOOL is the spellcheck program, SCRATCH a folder the test may fill and
# empty. The main dictionary is the tool's default (the bundled one). Exit
# status: 0 when every check holds, 1 when one does not, 77 when there is no
# tmux (the test is skipped).
#
# Checked: the word is shown in reverse video on its line, with numbered
# suggestions; a digit, a typed word and undo act on the file; the terminal's
# settings are as before when fix ends, by q and by a signal.

tool=$1
scratch=$2
command -v tmux >/dev/null 2>&1 || { echo "SKIP: no tmux"; exit 77; }

rm -rf "$scratch" && mkdir -p "$scratch" || exit 1
cd "$scratch" || exit 1
socket="$scratch/tmux.socket"
t() { tmux -S "$socket" "$@"; }
trap 't kill-server 2>/dev/null' EXIT

fail() {
  echo "FAIL fix-tmux: $*"
  echo "--- screen:"
  t capture-pane -p -t fix 2>/dev/null
  exit 1
}

# Waits (five seconds at most) until the screen shows the pattern (grep -E);
# the escapes for attributes are written as ESC.
wait_for() {
  tries=0
  while [ $tries -lt 100 ]; do
    t capture-pane -p -e -t fix 2>/dev/null | sed 's/\x1b/ESC/g' | grep -Eq -- "$1" && return 0
    tries=$((tries + 1))
    sleep 0.05
  done
  fail "the screen never showed: $1"
}

# Waits until a file holds the text.
wait_file() {
  tries=0
  while [ $tries -lt 100 ]; do
    [ -f "$1" ] && [ "$(cat "$1")" = "$2" ] && return 0
    tries=$((tries + 1))
    sleep 0.05
  done
  fail "$1 holds '$(cat "$1" 2>/dev/null)', not '$2'"
}

printf 'The quick brown fox\njumps over teh lazy dgo.\nAnd wrold ends.\n' >sample.txt
export XDG_DATA_HOME="$scratch/data" HOME="$scratch"
# stty -g before and after fix, in the terminal that fix ran in.
cat >run.sh <<SCRIPT
stty -g >before.stty
sh -c 'echo \$\$ >fix.pid; exec "\$0" fix sample.txt' "$tool"
echo \$? >status
stty -g >after.stty
exec sleep 60
SCRIPT
t new-session -d -s fix -x 100 -y 30 "sh run.sh" || fail "tmux did not start"

wait_for 'sample\.txt:2: teh'
wait_for '^ +2 \| jumps over ESC\[7mteh'
wait_for '^ +1 the$'
t send-keys -t fix 1
wait_for 'sample\.txt:2: dgo'
wait_for 'jumps over the lazy ESC\[7mdgo'
t send-keys -t fix r
wait_for 'Replace dgo with:'
t send-keys -t fix 'dog' Enter
wait_for 'sample\.txt:3: wrold'
t send-keys -t fix u
wait_for 'sample\.txt:2: dgo'
wait_for 'undone'
t send-keys -t fix 1
wait_for 'sample\.txt:3: wrold'
t send-keys -t fix q
wait_file status 0
grep -q 'sample.txt: 2 words replaced, written' <<EOF2 || fail "no report of the writing"
$(t capture-pane -p -t fix)
EOF2
[ "$(cat sample.txt)" = "$(printf 'The quick brown fox\njumps over the lazy dog.\nAnd wrold ends.')" ] ||
  fail "sample.txt holds: $(cat sample.txt)"
wait_file after.stty "$(cat before.stty)"

# Killed while it waits for a key: the terminal is put back, nothing written.
t kill-session -t fix
rm -f status before.stty after.stty
t new-session -d -s fix -x 100 -y 30 "sh run.sh" || fail "tmux did not start again"
wait_for 'sample\.txt:3: wrold'
kill -TERM "$(cat fix.pid)"
wait_file status 143
wait_file after.stty "$(cat before.stty)"
[ "$(cat sample.txt)" = "$(printf 'The quick brown fox\njumps over the lazy dog.\nAnd wrold ends.')" ] ||
  fail "sample.txt changed after the signal: $(cat sample.txt)"
echo "PASS fix-tmux"
