#!/usr/bin/env bash
# Installs what is missing, builds both architectures and runs the whole test
# suite under Wine in a throwaway prefix, then the benchmarks in short.
# Arguments go to ctest; with any, only the tests run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh"
source "$root/scripts/wine-env.sh"
status=0
ctest --test-dir "$root/build/x86_64" --output-on-failure -j2 "$@" || status=$?
if [ $status -ne 0 ]; then
    # What a failed run left behind, for a failure seen only elsewhere.
    echo
    echo "ctest failed ($status). Processes, memory and load at the end:"
    ps -eo pid,ppid,stat,pcpu,etime,rss,args --sort=-pcpu | grep -v ' ps -eo ' | head -40 || true
    free -m || true
    cat /proc/loadavg
    echo "stdin: $(readlink /proc/$$/fd/0 || echo closed)"
    exit $status
fi
# The benchmarks in short: their figures printed, no timing judged
# (scripts/bench.sh gives the full table).
if [ $# -eq 0 ]; then
    echo
    echo "Short benchmark run, 3 runs of each figure (the full table: bash scripts/bench.sh)"
    "$root/scripts/run-bench.sh" --runs 3
fi
