# Sourced: a throwaway Wine prefix with a persistent wineserver, and a virtual
# X display when there is none. Everything is torn down when the shell exits.
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
wine_env_dir=$(mktemp -d /tmp/tavrin-wine.XXXXXX)
export WINEPREFIX="$wine_env_dir/wine"
wine_env_xvfb=
wine_env_cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    [ -n "$wine_env_xvfb" ] && kill "$wine_env_xvfb" 2>/dev/null || true
    rm -rf "$wine_env_dir"
}
trap wine_env_cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
    for n in $(seq 90 130); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        wine_env_xvfb=$!
        export DISPLAY=":$n"
        break
    done
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi
# The server stays up for the whole run: later starts are fast, and the
# prefix's volatile registry keys live as long as it does.
mkdir -p "$WINEPREFIX"
wineserver -p </dev/null >/dev/null 2>&1
wineboot -i >/dev/null 2>&1
# Without a window manager, Wine waits up to 2 s for every managed window it
# hides; unmanaged windows (Wine draws their captions) close at once.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
