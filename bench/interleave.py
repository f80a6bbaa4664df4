#!/usr/bin/env python3
"""Whole-process wall time of several commands, run in turns: one run of
each per round, so that a busy or drifting machine slows them all alike.
Prints median and mean per command and each median against the last
command's (the peer). usage: interleave.py ROUNDS COMMAND... (each command
one string, split at spaces)"""
import statistics
import subprocess
import sys
import time

rounds = int(sys.argv[1])
commands = sys.argv[2:]
times = [[] for _ in commands]
for _ in range(rounds):
    for i, command in enumerate(commands):
        start = time.perf_counter()
        subprocess.run(command.split(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        times[i].append(time.perf_counter() - start)
peer = statistics.median(times[-1])
for command, spent in zip(commands, times):
    median = statistics.median(spent)
    print(f"{median * 1e3:7.1f} ms median {statistics.mean(spent) * 1e3:7.1f} ms mean"
          f"  {median / peer:.2f} of the peer  {command}")
