#!/usr/bin/env bash
# Makes dist/: setup.exe (32-bit, the shipped tool), setup64.exe, SHA256SUMS and
# README.txt (the README's usage section). Each executable is built in a fresh
# folder; with --check a second fresh build must give the same bytes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
check=${1:-}

build_setup() {  # arch folder
    rm -rf "$2"
    cmake -S "$root" -B "$2" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$1.cmake" >/dev/null
    cmake --build "$2" -j2 --target setup >/dev/null
}

out="$root/dist"
rm -rf "$out"
mkdir -p "$out"
for arch in i686 x86_64; do
    build_setup "$arch" "$root/build/dist-$arch"
    if [ "$check" = "--check" ]; then
        build_setup "$arch" "$root/build/dist-$arch-again"
        cmp "$root/build/dist-$arch/setup.exe" "$root/build/dist-$arch-again/setup.exe"
        echo "$arch: two builds identical"
    fi
done
cp "$root/build/dist-i686/setup.exe" "$out/setup.exe"
cp "$root/build/dist-x86_64/setup.exe" "$out/setup64.exe"
# The section from its heading up to the next one, with Windows line ends.
sed -n '/^## Using it on Windows/,/^## /{/^## /!p;/^## Using/p}' "$root/README.md" | sed 's/$/\r/' >"$out/README.txt"
(cd "$out" && sha256sum setup.exe setup64.exe >SHA256SUMS)
cat "$out/SHA256SUMS"
