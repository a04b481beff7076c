#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for SECONDS (default 20) on a copy
# of its seed corpus. A crash fails the run. Prints executions per target.
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds="${1:-20}"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target fuzzers >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for target in build-fuzz/tests/fuzz/fuzz_*; do
  name=$(basename "$target" | sed 's/^fuzz_//')
  mkdir -p "$work/$name"
  if [ -d "tests/fuzz/corpus/$name" ]; then cp -r "tests/fuzz/corpus/$name/." "$work/$name/"; fi
  log="$work/$name.log"
  if ! "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -artifact_prefix="$work/" \
      "$work/$name" >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "fuzz_$name: FAILED"
    exit 1
  fi
  runs=$(grep -a -o 'Done [0-9]* runs' "$log" | tail -1 | grep -o '[0-9]*' || echo "?")
  echo "fuzz_$name: $runs executions in ${seconds}s, no crash"
done
