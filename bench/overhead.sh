#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# What `secs true` costs, against what every shell-based timer pays
# (`sh -c true`), GNU time, bash's `time` keyword and a floor: bench/floor.c,
# a minimal C program making the same system() and time() calls (a yardstick,
# not part of secs). Prints a markdown table of median wall time and peak
# resident memory, and the ratios secs/GNU time and secs/floor.
#
# Usage: bench/overhead.sh [--links] [--runs N] [--json FILE]
#   --links      also build and time secs with every SECS_LINK mode, and
#                without hardening (SECS_HARDENING=OFF)
#   --runs N     hyperfine runs per command (default 300)
#   --json FILE  keep hyperfine's JSON
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=300 json="" links=""
while [ $# -gt 0 ]; do
  case $1 in
    --links) links=1 ;;
    --runs) runs=$2; shift ;;
    --json) json=$2; shift ;;
    *) echo "usage: bench/overhead.sh [--links] [--runs N] [--json FILE]" >&2; exit 2 ;;
  esac
  shift
done
for tool in hyperfine python3 cc cmake; do
  command -v "$tool" >/dev/null || { echo "bench/overhead.sh needs $tool (apt-get install hyperfine python3 gcc cmake)" >&2; exit 1; }
done

out=$root/build-bench
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
build() { # build DIR [cmake options]: a release secs, tests off
  cmake -S "$root" -B "$1" -DBUILD_TESTING=OFF "${@:2}" >/dev/null && cmake --build "$1" >/dev/null
}

build "$out/default" -USECS_LINK
commands=("$out/default/secs true")
if [ -n "$links" ]; then
  for mode in static-pie static static-runtime shared; do
    build "$out/$mode" -DSECS_LINK=$mode
    commands+=("$out/$mode/secs true")
  done
  build "$out/unhardened" -USECS_LINK -DSECS_HARDENING=OFF
  commands+=("$out/unhardened/secs true")
fi
cc -O2 -o "$out/floor" "$root/bench/floor.c"
commands+=("$out/floor true" "sh -c true" "bash -c 'time true'")
[ -x /usr/bin/time ] && commands+=("/usr/bin/time -f %e true")

hyperfine -N --warmup 50 --runs "$runs" --style none --export-json "$tmp/times.json" "${commands[@]}" \
  >/dev/null 2>"$tmp/hyperfine.err" || { cat "$tmp/hyperfine.err" >&2; exit 1; }

# Peak resident set (KiB) as GNU time reports it: the larger of the process
# and the children it waited for, so never below the shell's own.
: >"$tmp/memory"
if [ -x /usr/bin/time ]; then
  for command in "${commands[@]}"; do
    for _ in $(seq 51); do
      eval "/usr/bin/time -f %M -o $tmp/one $command" >/dev/null 2>&1 || true
      cat "$tmp/one"
    done | sort -n | sed -n 26p | sed "s|^|$command\t|" >>"$tmp/memory"
  done
fi
[ -n "$json" ] && cp "$tmp/times.json" "$json"

python3 - "$tmp/times.json" "$tmp/memory" "$out/" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
memory = dict(line.rstrip("\n").split("\t") for line in open(sys.argv[2]))
build = sys.argv[3]
median = {r["command"]: r["median"] * 1e3 for r in results}
def name(command):
    if not command.startswith(build):
        return f"`{command}`"
    rest = command[len(build):]
    if rest.startswith("floor"):
        return f"`{rest}` (yardstick)"
    link, rest = rest.split("/", 1)
    return f"`{rest}` ({link})"
print("| command | median ms | mean ± σ ms | peak RSS KiB |")
print("|---|---:|---:|---:|")
for r in results:
    c = r["command"]
    print(f"| {name(c)} | {median[c]:.3f} | {r['mean'] * 1e3:.3f} ± {r['stddev'] * 1e3:.3f} | {memory.get(c, 'n/a')} |")
secs = results[0]["command"]
print()
gnu = "/usr/bin/time -f %e true"
if gnu in median:
    print(f"secs/GNU time: {median[secs] / median[gnu]:.2f}")
print(f"secs/floor: {median[secs] / median[build + 'floor true']:.2f}")
PY
echo
"$out/default/secs" 'grep VmHWM /proc/$PPID/status' >"$tmp/hwm"
echo "secs's own peak, read while its shell runs: $(head -n 1 "$tmp/hwm" | tr -s ' \t' ' ')"
