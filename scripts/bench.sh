#!/usr/bin/env bash
# Installs what is missing, builds both architectures and runs the benchmarks
# under Wine in a throwaway prefix, printing their figures as a table.
# Options are those of scripts/run-bench.sh (--runs <n>).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh"
source "$root/scripts/wine-env.sh"
"$root/scripts/run-bench.sh" "$@"
