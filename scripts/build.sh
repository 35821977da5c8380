#!/usr/bin/env bash
# Builds both architectures: build/i686 (the shipped 32-bit setup.exe) and
# build/x86_64 (the 64-bit build, with the tests).
#   --target <name>     builds only that target and what it needs, or only
#                       those, given more than once (scripts/start.sh builds
#                       just setup.exe and its helper)
#   --with-i686-tests   also build/i686-tests, the suite for 32-bit
#                       Windows (cmake/toolchain-i686-tests.cmake)
#   --arch <name>       only this one (i686, x86_64 or i686-tests)
#   --dir <folder>      with --arch: builds in this folder instead of build/<name>
#   -D<variable>=<value>  goes to CMake's configure step
# Of make's output the lines that only say a target is up to date are left
# out, so that a build with nothing to do prints one line per architecture
# and a warning stands out; compile steps, warnings and errors all show, in
# the order they come.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/common.sh"
targets=()
configs=(i686 x86_64)
dir=
defines=()
while [ $# -gt 0 ]; do
    case "$1" in
    --target | --arch | --dir) [ $# -ge 2 ] || usage_error "$1 needs a value" ;;&
    --target) targets+=("$2"); shift 2 ;;
    --with-i686-tests) configs+=(i686-tests); shift ;;
    --arch)
        [ -f "$root/cmake/toolchain-$2.cmake" ] || usage_error "no architecture \"$2\" (i686, x86_64, i686-tests)"
        configs=("$2")
        shift 2
        ;;
    --dir) dir=$2; shift 2 ;;
    -D?*) defines+=("$1"); shift ;;
    --help | -h) usage; exit 0 ;;
    *) usage_error "unknown option \"$1\"" ;;
    esac
done
[ -z "$dir" ] || [ ${#configs[@]} -eq 1 ] || usage_error "--dir goes with --arch"
routine='^(-- |(\[ *[0-9]+%\] )?(Built target |Consolidate compiler generated dependencies |Creating directories for |Performing (update|patch|configure|build) step |No (download|update|patch|install|test) step |Completed ))'
for config in "${configs[@]}"; do
    out=${dir:-$root/build/$config}
    echo "${out#"$root/"}: configuring and building${targets[*]:+ ${targets[*]}}"
    cmake -S "$root" -B "$out" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$config.cmake" "${defines[@]}" >/dev/null
    cmake --build "$out" -j"$(nproc)" ${targets[*]:+--target "${targets[@]}"} 2>&1 |
        { grep --line-buffered -Ev "$routine" || true; }
done
