#!/usr/bin/env bash
# Installs what is missing and makes dist/: setup.exe (32-bit, the shipped
# tool), setup64.exe, SHA256SUMS and README.txt (the README's usage section as
# plain text). Each executable is built in a fresh folder.
#   --check   a second fresh build of each must give the same bytes
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/common.sh"
check=
for option in "$@"; do
    case "$option" in
    --check) check=--check ;;
    --help | -h) usage; exit 0 ;;
    *) usage_error "unknown option \"$option\"" ;;
    esac
done
"$root/scripts/deps.sh"

build_setup() {  # arch folder
    echo "Building setup.exe for $1 in a fresh ${2#"$root/"}"
    rm -rf "$2"
    "$root/scripts/build.sh" --arch "$1" --dir "$2" --target setup -DBUILD_TESTING=OFF
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
# The section from its heading up to the next one as plain text: the tool's
# name and the heading underlined, no emphasis or code marks. Windows line
# ends, since Notepad before Windows 10 version 1809 shows a file without them
# as one line.
awk 'NR == 1 { name = substr($0, 3) }
     /^## Using it on Windows/ { on = 1; title = name ": " substr($0, 4); print title; gsub(/./, "=", title); print title; next }
     on && /^## / { exit }
     on { gsub(/\*\*|`/, ""); print }' "$root/README.md" | sed 's/$/\r/' >"$out/README.txt"
(cd "$out" && sha256sum setup.exe setup64.exe >SHA256SUMS)
cat "$out/SHA256SUMS"
