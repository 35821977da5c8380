#!/usr/bin/env bash
# Takes the pictures of every dialog in docs/, from the real setup.exe under
# Wine, in English and in Simplified Chinese. The screenshot tour (built with
# the tests) drives the program and asks for each picture; this script takes
# it from its own virtual display and writes docs/<name>.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/common.sh"
no_options "$@"
"$root/scripts/deps.sh"
"$root/scripts/build.sh"
build="$root/build/x86_64"

# Always a display of our own: the same size and depth on every run, and no
# window manager (Wine draws the title bars itself).
unset DISPLAY
source "$root/scripts/wine-env.sh"
# The fonts scripts/start.sh gives the tool too.
wine_env_fonts

work="$wine_env_dir/shots"
mkdir -p "$work"
docs="$root/docs"

# take name left top width height scale: waits until the area shows the same
# twice in a row (the program has finished painting), then saves it.
take() {
    local geometry="$4x$5+$2+$3" previous="$work/previous.ppm" current="$work/current.ppm"
    import -silent -window root -crop "$geometry" +repage "$previous"
    for _ in $(seq 20); do
        sleep 0.3
        import -silent -window root -crop "$geometry" +repage "$current"
        if cmp -s "$previous" "$current"; then
            # No time stamps, so that an unchanged picture gives the same bytes.
            convert "$current" -scale "$(($6 * 100))%" -strip -define png:exclude-chunks=date,time "$docs/$1.png"
            echo "  docs/$1.png"
            return 0
        fi
        mv "$current" "$previous"
    done
    echo "  $1: the picture did not settle" >&2
    return 1
}

# Requests come on the tour's standard output, answers go to its standard input.
mkfifo "$work/requests" "$work/answers"
setup="Z:$(tr / '\\' <<<"$build/setup.exe")"
failed=0
while read -r language environment; do
    echo "Tour in $language:"
    # shellcheck disable=SC2086 # the environment is a list of NAME=value words
    env $environment TAVRIN_SETUP="$setup" wine "$build/tests/screenshot_tour.exe" \
        <"$work/answers" >"$work/requests" 2>&1 &
    tour=$!
    exec 3>"$work/answers" 4<"$work/requests"
    while IFS= read -r line <&4; do
        line=${line%$'\r'}
        if [[ $line == "shot "* ]]; then
            read -r _ name left top width height scale <<<"$line"
            if take "$name" "$left" "$top" "$width" "$height" "$scale"; then echo taken >&3; else echo failed >&3; fi
        else
            echo "$line"
        fi
    done
    exec 3>&- 4<&-
    wait "$tour" || failed=1
done <"$build/tests/screenshot_languages.txt"
exit "$failed"
