#!/usr/bin/env bash
# Installs what is missing, builds both architectures and runs the benchmarks
# under Wine in a throwaway prefix, printing their figures as a table.
# Options are those of scripts/run-bench.sh (--runs <n>), and
#   --wow64   then the same figures of the shipped 32-bit build (build/i686)
#             under WoW64 on emulated 64-bit Windows (scripts/emulated-windows.sh),
#             each against its peer built for i686 and run there too
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
wow64=false
options=()
for option in "$@"; do
    if [ "$option" = --wow64 ]; then
        wow64=true
    else
        options+=("$option")
    fi
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
