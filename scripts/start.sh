#!/usr/bin/env bash
# Installs what is missing, builds both architectures and starts the tool under
# Wine. Without a display it runs on a virtual one, saves a screenshot, prints
# its path and ends by itself.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh"
had_display=${DISPLAY:-}
source "$root/scripts/wine-env.sh"
exe="$root/build/x86_64/setup.exe"
if [ -n "$had_display" ]; then
    wine "$exe"
    exit 0
fi
wine "$exe" &
app=$!
window=
for _ in $(seq 100); do
    window=$(xwininfo -root -tree 2>/dev/null | awk '/"Tavrin/ { print $1; exit }')
    [ -n "$window" ] && break
    sleep 0.2
done
sleep 2
# Just the main window when it came up (the virtual display has no window
# manager, so there is no title bar), else the whole display.
shot="$root/build/screenshot.png"
import -window "${window:-root}" "$shot"
echo "Screenshot: $shot"
kill "$app" 2>/dev/null || true
