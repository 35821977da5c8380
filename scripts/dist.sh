#!/usr/bin/env bash
# Installs what is missing and makes dist/: setup.exe (32-bit, the shipped
# tool), setup64.exe, their symbols setup.exe.debug and setup64.exe.debug,
# SHA256SUMS and README.txt (the README's usage section as plain text). Each
# executable is built in a fresh folder.
#   --check              a second fresh build of each must give the same bytes,
#                        executable and symbols
#   --sign <cert.pfx>    both executables are signed (scripts/sign.sh says with
#                        what) before SHA256SUMS is written
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/common.sh"
check=
cert=
while [ $# -gt 0 ]; do
    case "$1" in
    --check) check=--check; shift ;;
    --sign)
        [ -f "${2:-}" ] || usage_error "--sign needs the certificate file, not \"${2:-}\""
        cert=$(realpath "$2")
        shift 2
        ;;
    --help | -h) usage; exit 0 ;;
    *) usage_error "unknown option \"$1\"" ;;
    esac
done
"$root/scripts/deps.sh"
# What signing needs is there before the builds.
[ -z "$cert" ] || "$root/scripts/sign.sh" sign "$cert"

build_setup() {  # arch folder
    echo "Building setup.exe for $1 in a fresh ${2#"$root/"}"
    rm -rf "$2"
    "$root/scripts/build.sh" --arch "$1" --dir "$2" --target setup -DBUILD_TESTING=OFF
}

out="$root/dist"
rm -rf "$out"
mkdir -p "$out"
# The released name of each build's setup.exe; its symbols are that name's .debug.
declare -A released=([i686]=setup.exe [x86_64]=setup64.exe)
for arch in i686 x86_64; do
    build=$root/build/dist-$arch
    build_setup "$arch" "$build"
    if [ "$check" = "--check" ]; then
        build_setup "$arch" "$build-again"
        for file in setup.exe "${released[$arch]}.debug"; do
            cmp "$build/$file" "$build-again/$file"
        done
        echo "$arch: two builds identical, symbols included"
    fi
    cp "$build/setup.exe" "$out/${released[$arch]}"
    cp "$build/${released[$arch]}.debug" "$out/"
done
if [ -n "$cert" ]; then
    "$root/scripts/sign.sh" sign "$cert" "$out/setup.exe" "$out/setup64.exe"
    # What was signed is what --check found reproducible.
    if [ -n "$check" ]; then
        "$root/scripts/sign.sh" unsigned "$out/setup.exe" "$root/build/dist-i686/setup.exe"
        "$root/scripts/sign.sh" unsigned "$out/setup64.exe" "$root/build/dist-x86_64/setup.exe"
    fi
fi
# The section from its heading up to the next one as plain text: the tool's
# name and the heading underlined, no emphasis or code marks. Windows line
# ends, since Notepad before Windows 10 version 1809 shows a file without them
# as one line.
awk 'NR == 1 { name = substr($0, 3) }
     /^## Using it on Windows/ { on = 1; title = name ": " substr($0, 4); print title; gsub(/./, "=", title); print title; next }
     on && /^## / { exit }
     on { gsub(/\*\*|`/, ""); print }' "$root/README.md" | sed 's/$/\r/' >"$out/README.txt"
(cd "$out" && sha256sum setup.exe setup64.exe setup.exe.debug setup64.exe.debug >SHA256SUMS)
cat "$out/SHA256SUMS"
