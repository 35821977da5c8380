# Sourced: a throwaway Wine prefix with a persistent wineserver, and a virtual
# X display when there is none. Everything is torn down when the shell exits.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
utf8_locale
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installer, and no menu entries written into $HOME.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
wine_env_dir=$(mktemp -d /tmp/tavrin-wine.XXXXXX)
export WINEPREFIX="$wine_env_dir/wine"
wine_env_xvfb=
wine_env_cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    # The server's socket folder lies outside the prefix, in a folder of
    # TMPDIR that the prefix's "wineserver" file names; it goes once the
    # server has ended.
    local server_dir=
    [ -f "$WINEPREFIX/wineserver" ] && server_dir=$(head -c 64 "$WINEPREFIX/wineserver")
    wineserver -w >/dev/null 2>&1 || true
    [[ $server_dir =~ ^wine-[A-Za-z0-9]+$ ]] && rm -rf "${TMPDIR:-/tmp}/$server_dir"
    [ -n "$wine_env_xvfb" ] && kill "$wine_env_xvfb" 2>/dev/null || true
    rm -rf "$wine_env_dir"
}
trap wine_env_cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
    # The server picks a free display itself and writes its number once it
    # accepts connections.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$wine_env_dir/display" >/dev/null 2>&1 &
    wine_env_xvfb=$!
    for _ in $(seq 100); do
        [ -s "$wine_env_dir/display" ] && break
        sleep 0.1
    done
    export DISPLAY=":$(head -n1 "$wine_env_dir/display")"
fi
# The server stays up for the whole run: later starts are fast, and the
# prefix's volatile registry keys live as long as it does.
mkdir -p "$WINEPREFIX"
wineserver -p </dev/null >/dev/null 2>&1
# The first program of a new prefix sets it up and waits for that. (An explicit
# "wineboot -i" would make that first program, and the prefix would be set up
# twice, with two service managers.) There is no window manager on the
# virtual display: with managed windows Wine waits two seconds for one each
# time a window is hidden. A display of the user's own keeps its window
# manager.
if [ -n "$wine_env_xvfb" ]; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
fi
# A program that crashes ends at once: behind the debugger's crash dialog it
# would wait, and its test with it, until ctest's time-out.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
# The prefix's services go on starting in the background: the tests start
# once the plug-and-play service runs.
for _ in $(seq 120); do
    wine sc query PlugPlay 2>/dev/null | grep -q RUNNING && break
    sleep 0.5
done

# The two fonts a Wine prefix lacks, for the programs a user looks at
# (scripts/start.sh, scripts/screenshots.sh). Message boxes and title bars use
# the system's Chinese font, SimSun: without it their Chinese glyphs are empty
# boxes. The title bar's close box is a glyph of Marlett, which this Wine does
# not load from its own fonts folder: without it the box shows an "r".
wine_env_fonts() {
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v SimSun /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
}
