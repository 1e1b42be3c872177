#!/usr/bin/env bash
# Runs every fuzz target for a bounded time on its seed corpus.
set -euo pipefail
bin=$1
seconds=${2:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
status=0
for target in "$bin"/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  seeds="$root/fuzz/corpus/${name#fuzz_}"
  work=$(mktemp -d)
  [ -d "$seeds" ] && cp -r "$seeds"/. "$work"/ 2>/dev/null || true
  echo "== $name for ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1 \
       -artifact_prefix="$work/" "$work" > "$work/log" 2>&1; then
    tail -40 "$work/log"
    echo "$name FAILED (artifacts in $work)"
    status=1
  else
    grep -E "stat::number_of_executed_units|Done" "$work/log" | tail -2
  fi
done
exit $status
