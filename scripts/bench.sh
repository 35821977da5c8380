#!/usr/bin/env bash
# Installs what is missing, builds both architectures and runs the benchmarks
# under Wine in a throwaway prefix, printing their figures as a table.
#   --runs <n>  repetitions of each figure, of which the median counts (default 15)
#   --wow64     then the same figures of the shipped 32-bit build (build/i686)
#               under WoW64 on emulated 64-bit Windows (scripts/emulated-windows.sh),
#               each against its peer built for i686 and run there too
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/common.sh"
wow64=false
options=()
while [ $# -gt 0 ]; do
    case "$1" in
    --wow64) wow64=true; shift ;;
    --runs)
        [[ ${2:-} =~ ^[1-9][0-9]*$ ]] || usage_error "--runs needs a number of runs, not \"${2:-}\""
        options+=(--runs "$2")
        shift 2
        ;;
    --help | -h) usage; exit 0 ;;
    *) usage_error "unknown option \"$1\"" ;;
    esac
done
"$root/scripts/deps.sh"
"$root/scripts/build.sh"
$wow64 && echo "== 64-bit build, 64-bit Windows (Wine)"
(
    source "$root/scripts/wine-env.sh"
    "$root/scripts/run-bench.sh" "${options[@]}"
)
if $wow64; then
    echo
    echo "== Shipped 32-bit build, 64-bit Windows (WoW64, emulated)"
    "$root/scripts/emulated-windows.sh" session win64 \
        "$root/scripts/run-bench.sh" --build "$root/build/i686" "${options[@]}"
fi
