#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
set -euo pipefail

packages=(cmake make g++-mingw-w64-i686 g++-mingw-w64-x86-64 googletest wine64 wine
          xvfb xauth x11-utils gcab cabextract fonts-wine fonts-wqy-microhei imagemagick icoutils python3
          osslsigncode openssl ca-certificates)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    apt-get update -q
    # wine32 must never come in: this machine cannot run 32-bit code and the
    # wine wrapper would then pick the 32-bit loader. Of apt's lines, one per
    # package downloaded and one per package set up show the progress, each
    # as it is written (line-buffered); the other three dpkg prints for each
    # are left out. Warnings and errors go to standard error and all show.
    DEBIAN_FRONTEND=noninteractive stdbuf -oL apt-get install -y -q --no-install-recommends "${missing[@]}" |
        { grep --line-buffered -Ev '^(Selecting previously unselected package |Preparing to unpack |Unpacking |\(Reading database )' || true; }
fi
