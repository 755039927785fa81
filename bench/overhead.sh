#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# What `secs true` costs, timed by hyperfine: secs as released (SECS_STATIC)
# and as a default build links it, against bench/floor.c (the same calls from
# plain C, linked both ways), GNU time and the shell alone; three rounds of
# RUNS runs each, each printing means ± σ, min…max and the ratios. Needs
# hyperfine, python3, CMake, a C++ and a C compiler, GNU time (/usr/bin/time).
# Usage: bench/overhead.sh [RUNS]   (default 300)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build-bench
runs=${1:-300}
for static in ON OFF; do
  cmake -S "$root" -B "$out/static-$static" -DBUILD_TESTING=OFF -DSECS_STATIC=$static |
    grep 'secs: linked'
  cmake --build "$out/static-$static" >/dev/null
done
cc -O2 -static-pie -fPIE -o "$out/floor-static" "$root/bench/floor.c"
cc -O2 -o "$out/floor" "$root/bench/floor.c"
# Each command after its name; the ratios below take them in this order.
commands=(
  -n "secs true (SECS_STATIC: static-pie)" "$out/static-ON/secs true"
  -n "secs true (default)" "$out/static-OFF/secs true"
  -n "floor true (static-pie)" "$out/floor-static true"
  -n "floor true" "$out/floor true"
  -n "/usr/bin/time -f %e true" "/usr/bin/time -f %e true"
  -n "sh -c true" "/bin/sh -c true"
)
for round in 1 2 3; do
  hyperfine -N --style none --warmup 20 --runs "$runs" --export-markdown "$out/round.md" \
    --export-json "$out/round.json" "${commands[@]}" >/dev/null 2>&1
  echo "Round $round:"
  cat "$out/round.md"
  python3 - "$out/round.json" <<'EOF'
import json
import sys

m = [r["mean"] for r in json.load(open(sys.argv[1]))["results"]]
print(
    "secs/floor, static: %.2f; default: %.2f. secs/GNU time, static: %.2f; default: %.2f. "
    "static/default secs: %.2f" % (m[0] / m[2], m[1] / m[3], m[0] / m[4], m[1] / m[4], m[0] / m[1])
)
EOF
done
for static in ON OFF; do
  "$out/static-$static/secs" 'grep VmHWM /proc/$PPID/status' |
    sed -n "1s/^VmHWM:[[:space:]]*/secs (SECS_STATIC=$static), its own peak: /p"
done
