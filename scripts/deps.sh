#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing,
# and makes the locales the tests and the README use (en_US.UTF-8,
# zh_CN.UTF-8, and hi_IN.UTF-8, whose language has no ANSI code page: Wine
# gives it the ANSI code page 65001).
set -euo pipefail
source "$(dirname "$0")/common.sh"
no_options "$@"

packages=(cmake make g++-mingw-w64-i686 g++-mingw-w64-x86-64 googletest wine64 wine
          xvfb xauth x11-utils gcab cabextract fonts-wine fonts-wqy-microhei imagemagick icoutils python3
          osslsigncode openssl ca-certificates locales)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    apt-get update -q
    # wine32 must never come in: this machine cannot run 32-bit code and the
    # wine wrapper would then pick the 32-bit loader. Of apt's lines, one per
    # package downloaded, unpacked and set up show the progress, each as it
    # is written (line-buffered); the other two dpkg prints for each are left
    # out. Warnings and errors go to standard error and all show.
    DEBIAN_FRONTEND=noninteractive stdbuf -oL apt-get install -y -q --no-install-recommends "${missing[@]}" |
        { grep --line-buffered -Ev '^(Selecting previously unselected package |Preparing to unpack |\(Reading database )' || true; }
fi

# A fresh Debian has only C, C.UTF-8 and POSIX: LC_ALL=zh_CN.UTF-8 would fall
# back to C without a word but for the shell's warning.
locales=(en_US.UTF-8 zh_CN.UTF-8 hi_IN.UTF-8)
absent=()
for l in "${locales[@]}"; do
    locale -a | grep -qix "${l/UTF-8/utf8}" || absent+=("$l")
done
if [ ${#absent[@]} -gt 0 ]; then
    echo "Making the locales ${absent[*]}"
    for l in "${absent[@]}"; do
        grep -qx "$l UTF-8" /etc/locale.gen || echo "$l UTF-8" >>/etc/locale.gen
    done
    locale-gen
fi
