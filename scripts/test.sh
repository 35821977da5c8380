#!/usr/bin/env bash
# Installs what is missing, builds both architectures and runs the whole test
# suite under Wine in a throwaway prefix.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh"
source "$root/scripts/wine-env.sh"
ctest --test-dir "$root/build/x86_64" --output-on-failure -j2 "$@"
