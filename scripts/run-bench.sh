#!/usr/bin/env bash
# Runs the benchmarks of a build in the Wine environment that
# scripts/wine-env.sh (or scripts/emulated-windows.sh) set up, and prints
# their table. scripts/bench.sh and scripts/test.sh call it. Figures are
# printed, never judged: it fails only when a benchmark could not be run.
#   --runs <n>      repetitions of each figure, of which the median counts (default 15)
#   --build <dir>   the build whose programs run (default build/x86_64)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/common.sh"
runs=15
build="$root/build/x86_64"
while [ $# -gt 0 ]; do
    case "$1" in
    --runs | --build) [ $# -ge 2 ] || usage_error "$1 needs a value" ;;&
    --runs) runs=$2 ;;
    --build) build=$2 ;;
    --help | -h) usage; exit 0 ;;
    *) usage_error "unknown option \"$1\"" ;;
    esac
    shift 2
done
cabinet="$build/bench/package/DriverPackage.cab"

windows_path() {
    local path="Z:$1"
    echo "${path//\//\\}"
}

# cabextract unpacks the same cabinet natively, into the same file system as
# the Wine prefix, as many times as the benchmark extracts it; as there, one
# run first is not counted.
scratch=$(mktemp -d "$(dirname "$WINEPREFIX")/cabextract.XXXXXX")
cabextract_ms=()
for run in $(seq 0 "$runs"); do
    rm -rf "$scratch/out"
    start=$EPOCHREALTIME
    cabextract -q -d "$scratch/out" "$cabinet"
    end=$EPOCHREALTIME
    if [ "$run" -gt 0 ]; then
        cabextract_ms+=("$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f", (e - s) * 1000 }')")
    fi
done
rm -rf "$scratch"

wine "$build/bench/tavrin_bench.exe" --runs "$runs" \
    --setup "$(windows_path "$build/setup.exe")" \
    --minimal-dialog "$(windows_path "$build/bench/minimal_dialog.exe")" \
    --cabinet "$(windows_path "$cabinet")" \
    --cabextract-ms "$(IFS=,; echo "${cabextract_ms[*]}")"
