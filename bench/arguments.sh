#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# How secs's run time grows with the number of arguments, from 1 to 100,000.
# `secs : x x ...` is set against `sh -c ': x x ...'`, the shell running the
# same text, and `true x x ...`, the kernel copying the same arguments in;
# what is left is secs's own, joining included. The clock starts only once
# the text is complete, so the printed seconds stay 0. Past the kernel's 128 KiB for one argument the
# shell cannot be started: secs then joins the text, reports E2BIG and runs
# nothing. Each figure is the median of N spawns from one Python process
# (posix_spawn and waitpid), whose own small cost is in both columns.
#
# Usage: bench/arguments.sh [--runs N]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=100
[ "${1:-}" = --runs ] && runs=$2
for tool in python3 cmake; do
  command -v "$tool" >/dev/null || { echo "bench/arguments.sh needs $tool (apt-get install python3 cmake)" >&2; exit 1; }
done

build=$root/build-bench/default
cmake -S "$root" -B "$build" -DBUILD_TESTING=OFF >/dev/null && cmake --build "$build" >/dev/null

python3 - "$build/secs" "$runs" <<'PY'
import os, statistics, subprocess, sys, time

secs, runs = sys.argv[1], int(sys.argv[2])
quiet = os.open(os.devnull, os.O_WRONLY)

def median_ms(argv):
    samples = []
    for _ in range(runs + 5):  # the first five warm up
        start = time.perf_counter()
        pid = os.posix_spawn(argv[0], argv, os.environ,
                             file_actions=[(os.POSIX_SPAWN_DUP2, quiet, 1), (os.POSIX_SPAWN_DUP2, quiet, 2)])
        os.waitpid(pid, 0)
        samples.append(time.perf_counter() - start)
    return statistics.median(samples[5:]) * 1e3

print("| arguments | text bytes | secs ms | sh -c text ms | true args ms | secs − both ms | secs printed, status |")
print("|---:|---:|---:|---:|---:|---:|---|")
own = {}
for n in (1, 10, 100, 1000, 10000, 60000, 100000):
    argv = [secs, ":"] + ["x"] * (n - 1)
    text = "".join(" " + a for a in argv[1:])
    mine, kernel = median_ms(argv), median_ms(["/bin/true"] + argv[1:])
    row = f"| {n:,} | {len(text) + 1:,} | {mine:.3f} |"
    if len(text) + 1 <= 128 * 1024:
        shell = median_ms(["/bin/sh", "-c", text])
        own[n] = mine - shell - kernel
        row += f" {shell:.3f} | {kernel:.3f} | {own[n]:.3f} |"
    else:
        row += f" too long | {kernel:.3f} | |"
    once = subprocess.run(argv, capture_output=True, text=True)
    row += f" {once.stdout or once.stderr.strip()}, {once.returncode} |"
    print(row, flush=True)
most = max(own)
print(f"\nsecs's own cost grows by {(own[most] - own[1]) / (most - 1) * 1e6:.0f} ns per argument (1 to {most:,}).")
PY
