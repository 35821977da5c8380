#!/usr/bin/env bash
# Installs what is missing, builds setup.exe of both architectures (not the
# tests) and starts the 64-bit one under Wine, with the fonts of the README's
# pictures. On the user's own display it runs until its window is closed or
# Ctrl-C; without DISPLAY it runs on a virtual display, saves a screenshot of
# the main window, prints its path and ends by itself.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/common.sh"
no_options "$@"
"$root/scripts/deps.sh"
"$root/scripts/build.sh" --target setup --target redraw_caption
had_display=${DISPLAY:-}
# Ctrl-C ends the script, whose exit ends the prefix's programs: Wine's own
# programs do not all end on it, and those that do leave the others waiting.
trap 'exit 130' INT
trap 'exit 143' TERM
echo "Starting setup.exe under Wine in a new prefix"
source "$root/scripts/wine-env.sh"
wine_env_fonts
exe="$root/build/x86_64/setup.exe"
# In the background, since a windowed program under Wine ignores Ctrl-C.
wine "$exe" &
app=$!
if [ -n "$had_display" ]; then
    wait "$app"
    exit
fi
# The main window's title starts with "Tavrin" in both languages; xwininfo
# prints it in UTF-8 only under a UTF-8 locale that exists here.
window=
for _ in $(seq 100); do
    window=$(LC_ALL=C.UTF-8 xwininfo -root -tree 2>/dev/null | awk '/"Tavrin/ { print $1; exit }')
    [ -n "$window" ] && break
    sleep 0.2
done
sleep 2
wine "$root/build/x86_64/tools/redraw_caption.exe" || true
# Just the main window, title bar included (Wine draws it), when it came up;
# else the whole display.
shot="$root/build/screenshot.png"
import -window "${window:-root}" "$shot"
echo "Screenshot: $shot"
