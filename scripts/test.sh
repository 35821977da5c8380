#!/usr/bin/env bash
# Installs what is missing, builds both architectures and runs the whole test
# suite under Wine in a throwaway prefix, then the benchmarks in short.
# Arguments go to ctest; with any, only the tests run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh"
source "$root/scripts/wine-env.sh"
ctest --test-dir "$root/build/x86_64" --output-on-failure -j2 "$@"
# The benchmarks in short: their figures printed, no timing judged
# (scripts/bench.sh gives the full table).
if [ $# -eq 0 ]; then
    echo
    echo "Short benchmark run, 3 runs of each figure (the full table: bash scripts/bench.sh)"
    "$root/scripts/run-bench.sh" --runs 3
fi
