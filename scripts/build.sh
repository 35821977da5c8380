#!/usr/bin/env bash
# Builds both architectures: build/i686 (the shipped 32-bit setup.exe) and
# build/x86_64 (the 64-bit build, with the tests).
#   --target <name>     first: builds only that target and what it needs
#                       (scripts/start.sh builds just setup.exe)
#   --with-i686-tests   first: also build/i686-tests, the suite for 32-bit
#                       Windows (cmake/toolchain-i686-tests.cmake)
# Any other arguments go to CMake's configure step (-D<variable>=<value>).
# Of make's output the lines that only say a target is up to date are left
# out, so that a build with nothing to do prints one line per architecture
# and a warning stands out; compile steps, warnings and errors all show, in
# the order they come.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
target=()
configs=(i686 x86_64)
while [ $# -gt 0 ]; do
    case "$1" in
    --target) target=(--target "$2"); shift 2 ;;
    --with-i686-tests) configs+=(i686-tests); shift ;;
    *) break ;;
    esac
done
routine='^(-- |(\[ *[0-9]+%\] )?(Built target |Consolidate compiler generated dependencies |Creating directories for |Performing (update|patch|configure|build) step |No (download|update|patch|install|test) step |Completed ))'
for config in "${configs[@]}"; do
    echo "build/$config: configuring and building${target:+ ${target[1]}}"
    cmake -S "$root" -B "$root/build/$config" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$config.cmake" "$@" >/dev/null
    cmake --build "$root/build/$config" -j"$(nproc)" "${target[@]}" 2>&1 |
        { grep --line-buffered -Ev "$routine" || true; }
done
