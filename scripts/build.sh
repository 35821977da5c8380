#!/usr/bin/env bash
# Builds both architectures: build/i686 (the shipped 32-bit setup.exe) and
# build/x86_64 (the 64-bit build, with the tests).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
for arch in i686 x86_64; do
    cmake -S "$root" -B "$root/build/$arch" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$arch.cmake" "$@" >/dev/null
    cmake --build "$root/build/$arch" -j"$(nproc)"
done
