#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# What `secs true` costs, against two yardsticks linked the same way as secs:
# bench/floor.c, the same system() and time() calls from plain C, and
# bench/spawn.c, posix_spawn of `sh -c` and a wait, the limit for any tool
# that must start a shell; and against `sh -c true` alone and GNU time.
#
# The commands are interleaved: each run of a round starts every command once,
# in turn, so a slow patch of the machine falls on all of them alike. Prints
# a markdown table of the median wall time per round (median of the round
# medians, and their spread), the ratios to secs per round, and secs's own
# peak resident memory, read while its shell runs.
#
# Usage: bench/overhead.sh [--links] [--rounds N] [--runs N]
#   --links      also time secs in every SECS_LINK mode and without hardening
#   --rounds N   rounds (default 5, at least 3)
#   --runs N     runs of each command per round (default 300)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
rounds=5 runs=300 links=""
while [ $# -gt 0 ]; do
  case $1 in
    --links) links=1 ;;
    --rounds) rounds=$2; shift ;;
    --runs) runs=$2; shift ;;
    *) echo "usage: bench/overhead.sh [--links] [--rounds N] [--runs N]" >&2; exit 2 ;;
  esac
  shift
done
for tool in python3 cc cmake; do
  command -v "$tool" >/dev/null || { echo "bench/overhead.sh needs $tool (apt-get install python3 gcc cmake)" >&2; exit 1; }
done

out=$root/build-bench
build() { # build NAME [cmake options]: a release secs, tests off; prints its link mode
  cmake -S "$root" -B "$out/$1" -DBUILD_TESTING=OFF "${@:2}" | sed -n 's/^-- secs: linked \([a-z-]*\).*/\1/p'
  cmake --build "$out/$1" >/dev/null
}
mode=$(build default -USECS_LINK -DSECS_HARDENING=ON)
commands=("$out/default/secs true")
if [ -n "$links" ]; then
  for link in static-pie static static-runtime shared; do
    build "$link" -DSECS_LINK=$link >/dev/null
    commands+=("$out/$link/secs true")
  done
  build unhardened -USECS_LINK -DSECS_HARDENING=OFF >/dev/null
  commands+=("$out/unhardened/secs true")
fi
# The yardsticks, linked as the default secs is.
case $mode in
  static-pie) cflags="-fPIE -static-pie" ;;
  static) cflags="-static" ;;
  static-runtime) cflags="-static-libgcc" ;;
  *) cflags="" ;;
esac
for yardstick in floor spawn; do
  cc -O2 $cflags -o "$out/$yardstick" "$root/bench/$yardstick.c"
  commands+=("$out/$yardstick true")
done
commands+=("/bin/sh -c true")
[ -x /usr/bin/time ] && commands+=("/usr/bin/time -f %e true")

python3 - "$rounds" "$runs" "$out/" "$mode" "${commands[@]}" <<'PY'
import os, shlex, statistics, sys, time

rounds, runs, build, mode, commands = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3], sys.argv[4], sys.argv[5:]
argvs = [shlex.split(c) for c in commands]
quiet = os.open(os.devnull, os.O_RDWR)
actions = [(os.POSIX_SPAWN_DUP2, quiet, 0), (os.POSIX_SPAWN_DUP2, quiet, 1), (os.POSIX_SPAWN_DUP2, quiet, 2)]

def once(argv):
    start = time.perf_counter_ns()
    pid = os.posix_spawn(argv[0], argv, os.environ, file_actions=actions)
    os.waitpid(pid, 0)
    return (time.perf_counter_ns() - start) / 1e6

for argv in argvs:  # warm up caches and the page cache
    for _ in range(20):
        once(argv)
medians = {c: [] for c in commands}
for _ in range(rounds):
    samples = {c: [] for c in commands}
    for _ in range(runs):
        for command, argv in zip(commands, argvs):
            samples[command].append(once(argv))
    for command in commands:
        medians[command].append(statistics.median(samples[command]))

def name(command):
    if not command.startswith(build):
        return f"`{command}`"
    rest = command[len(build):]
    first, _, args = rest.partition(" ")
    if "/" not in first:
        return f"`{first} {args}` (yardstick)"
    link, program = first.split("/", 1)
    return f"`{program} {args}` ({link if link != 'default' else 'default: ' + mode})"

print("| command | median ms | round medians, min–max ms |")
print("|---|---:|---:|")
for c in commands:
    m = medians[c]
    print(f"| {name(c)} | {statistics.median(m):.3f} | {min(m):.3f}–{max(m):.3f} |")
secs = commands[0]
def ratio(other):
    r = [a / b for a, b in zip(medians[secs], medians[other])]
    return f"{statistics.median(r):.2f} (rounds {min(r):.2f}–{max(r):.2f})"
print()
print(f"secs/floor: {ratio(build + 'floor true')}; secs/spawn: {ratio(build + 'spawn true')}", end="")
if "/usr/bin/time -f %e true" in commands:
    print(f"; secs/GNU time: {ratio('/usr/bin/time -f %e true')}", end="")
print(f"\n{rounds} rounds of {runs} interleaved runs of each command.")
PY
echo
"$out/default/secs" 'grep VmHWM /proc/$PPID/status' | head -n 1 | tr -s ' \t' ' ' | sed "s/^/secs's own peak, read while its shell runs: /"
