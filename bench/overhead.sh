#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# What `secs true` costs, timed by hyperfine: secs as released (SECS_STATIC)
# and as a default build links it, against bench/floor.c (the same calls from
# plain C, linked both ways) and GNU time. Needs hyperfine, python3, CMake, a
# C++ and a C compiler, and GNU time (/usr/bin/time).
#
# It counts CPU time first: the user and system time of the process tree that
# hyperfine waits for, as hyperfine reports it. A busy machine stretches wall
# time far more than it stretches CPU time. The commands take turns in ROUNDS
# rounds of 30 runs each, in the opposite order every other round. Each ratio
# is the median of its rounds' ratios, so a round that a burst of other work
# slowed does not move it.
# Usage: bench/overhead.sh [ROUNDS]   (default 30)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build-bench
for static in ON OFF; do
  cmake -S "$root" -B "$out/static-$static" -DBUILD_TESTING=OFF -DSECS_STATIC=$static |
    grep 'secs: linked'
  cmake --build "$out/static-$static" >/dev/null
done
cc -O2 -static-pie -fPIE -o "$out/floor-static" "$root/bench/floor.c"
cc -O2 -o "$out/floor" "$root/bench/floor.c"
for static in ON OFF; do
  "$out/static-$static/secs" 'grep VmHWM /proc/$PPID/status' |
    sed -n "1s/^VmHWM:[[:space:]]*/secs (SECS_STATIC=$static), its own peak: /p"
done
python3 - "${1:-30}" "$out" <<'EOF'
import json
import statistics
import subprocess
import sys

rounds, out = int(sys.argv[1]), sys.argv[2]
# Each secs beside the floor linked alike, so that their runs come close in time.
names = ["secs (SECS_STATIC)", "floor (static-pie)", "GNU time", "floor", "secs (default)"]
commands = ["static-ON/secs", "floor-static", "/usr/bin/time -f %e", "floor", "static-OFF/secs"]
commands = [c if c[0] == "/" else out + "/" + c for c in commands]
cpu, wall = [], []
for turn in range(rounds):
    order = commands[::-1] if turn % 2 else commands
    hyperfine = ["hyperfine", "-N", "--style", "none", "--warmup", "5", "--runs", "30"]
    json_out = ["--export-json", out + "/round.json"]
    runs = [command + " true" for command in order]
    subprocess.run(hyperfine + json_out + runs, capture_output=True, check=True)
    results = {r["command"]: r for r in json.load(open(out + "/round.json"))["results"]}
    got = [results[c + " true"] for c in commands]
    cpu.append([r["user"] + r["system"] for r in got])
    wall.append([r["mean"] for r in got])


# The median over the rounds of command a's mean over command b's.
def ratio(times, a, b):
    return statistics.median(t[a] / t[b] for t in times)


for i, name in enumerate(names):
    milliseconds = [statistics.median(t[i] for t in times) * 1e3 for times in (cpu, wall)]
    print("%-19s CPU %.3f ms, wall %.3f ms" % (name, *milliseconds))
print("Wall time, secs as downloaded: %.2f of the floor, %.2f of GNU time" % (
    ratio(wall, 0, 1), ratio(wall, 0, 2)))
print("CPU time, a default build: %.2f of the floor; secs as downloaded, %.2f of it" % (
    ratio(cpu, 4, 3), ratio(cpu, 0, 4)))
print("CPU time, secs as downloaded: %.2f of the floor, %.2f of GNU time" % (
    ratio(cpu, 0, 1), ratio(cpu, 0, 2)))
EOF
