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
commands = {
    "secs (SECS_STATIC)": out + "/static-ON/secs true",
    "floor (static-pie)": out + "/floor-static true",
    "GNU time": "/usr/bin/time -f %e true",
    "floor": out + "/floor true",
    "secs (default)": out + "/static-OFF/secs true",
}
names = {command: name for name, command in commands.items()}
cpu = {name: [] for name in commands}
wall = {name: [] for name in commands}
for turn in range(rounds):
    order = list(commands.values())
    if turn % 2 == 1:
        order.reverse()
    subprocess.run(
        ["hyperfine", "-N", "--style", "none", "--warmup", "5", "--runs", "30"]
        + ["--export-json", out + "/round.json"]
        + order,
        stdout=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL,
        check=True,
    )
    for result in json.load(open(out + "/round.json"))["results"]:
        cpu[names[result["command"]]].append(result["user"] + result["system"])
        wall[names[result["command"]]].append(result["mean"])


# The median over the rounds of a over b, each round's means.
def ratio(times, a, b):
    return statistics.median(x / y for x, y in zip(times[a], times[b]))


for name in commands:
    print("%-19s CPU %.3f ms, wall %.3f ms" % (
        name, statistics.median(cpu[name]) * 1e3, statistics.median(wall[name]) * 1e3))
static, floor = "secs (SECS_STATIC)", "floor (static-pie)"
print("Wall time, secs as downloaded: %.2f of the floor, %.2f of GNU time" % (
    ratio(wall, static, floor), ratio(wall, static, "GNU time")))
print("CPU time, a default build: %.2f of the floor; secs as downloaded, %.2f of it" % (
    ratio(cpu, "secs (default)", "floor"), ratio(cpu, static, "secs (default)")))
print("CPU time, secs as downloaded: %.2f of the floor, %.2f of GNU time" % (
    ratio(cpu, static, floor), ratio(cpu, static, "GNU time")))
EOF
