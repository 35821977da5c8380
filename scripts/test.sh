#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite on three
# kinds of Windows, then the benchmarks in short:
#   64     the 64-bit build under Wine in a throwaway prefix
#   wow64  the 32-bit build (build/i686-tests, driving the shipped
#          build/i686/setup.exe) on emulated 64-bit Windows, under WoW64
#   win32  the same on emulated 32-bit Windows
# The emulated ones run through scripts/emulated-windows.sh, which builds its
# cached environment first if it is missing.
#   --on <kinds>   only these, comma-separated (such as --on 64 or --on wow64,win32)
# Other arguments go to ctest, in every run; with any, no benchmarks and no
# run without a locale. The whole command also runs one test case in a shell
# with no locale variables at all, as a fresh root shell often is.
# TAVRIN_LONG_RUN_CYCLES in the environment sets the long run's rounds
# (200 when unset; 50 in the emulated runs when unset).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/common.sh"
kinds=64,wow64,win32
case "${1:-}" in
--help | -h) usage; exit 0 ;;
--on)
    [ $# -ge 2 ] || usage_error "--on needs the kinds of Windows (64, wow64, win32)"
    kinds=$2
    shift 2
    ;;
esac
for kind in ${kinds//,/ }; do
    case "$kind" in
    64 | wow64 | win32) ;;
    *) usage_error "unknown Windows kind \"$kind\" (64, wow64, win32)" ;;
    esac
done
[ -n "${kinds//,/}" ] || usage_error "--on needs the kinds of Windows (64, wow64, win32)"
on() { [[ ",$kinds," == *",$1,"* ]]; }

logs=$(mktemp -d /tmp/tavrin-test.XXXXXX)
prepare=
trap '[ -n "$prepare" ] && kill "$prepare" 2>/dev/null; rm -rf "$logs"' EXIT
"$root/scripts/deps.sh"
build_args=()
if on wow64 || on win32; then
    # The emulated environment is made (or found) while the builds run: its
    # first build is mostly downloading.
    "$root/scripts/emulated-windows.sh" prepare &
    prepare=$!
    # With the suite built for 32-bit Windows; see cmake/toolchain-i686-tests.cmake.
    build_args=(--with-i686-tests)
fi
"$root/scripts/build.sh" "${build_args[@]}"
if [ -n "$prepare" ]; then
    wait "$prepare"
    prepare=
fi
status=0

# While ctest runs: after 30 seconds without a line, a line naming the test
# programs that run and for how long (ctest itself says nothing until a test
# ends), and again every 30 seconds. A program shows in its processes'
# command lines by its path in the build, as Linux or as Windows sees it.
still_running() {  # build dir, ctest's log
    local said=$SECONDS
    while sleep 5 >/dev/null 2>&1 && kill -0 $$ 2>/dev/null; do
        [ $((SECONDS - said)) -ge 30 ] && [ $(($(date +%s) - $(stat -c %Y "$2"))) -ge 30 ] || continue
        said=$SECONDS
        ps -eo etimes=,args= | U="$1/" W="Z:${1//\//\\}\\" awk '
            (index($0, ENVIRON["U"]) || index($0, ENVIRON["W"])) && match($0, /[A-Za-z0-9_]+_tests\.exe/) {
                name = substr($0, RSTART, RLENGTH - 4)
                if ($1 + 0 > t[name]) t[name] = $1 + 0
            }
            END {
                for (n in t) line = line sprintf("%s %s (%d min %02d s)", line ? "," : "", n, t[n] / 60, t[n] % 60)
                if (line) print "  ... still running:" line
            }'
    done
}

# run_suite <kind> <label> <build dir>: ctest there with ctest_args; its
# summary line goes to $logs/summary.
run_suite() {
    local kind=$1 label=$2 dir=$3 result=0 watch
    echo
    echo "== $label"
    # Under Wine 8 a new process fails to start, now and then, when the
    # kernel's address-space randomization has put something where Windows'
    # shared user data must go ("failed to map the shared user data",
    # CreateProcess error 1359): about once in 3000 devcon starts here. The
    # 64-bit runs' processes therefore keep the fixed layout.
    local fixed=()
    [ "$dir" = "$root/build/x86_64" ] && fixed=(setarch "$(uname -m)" --addr-no-randomize)
    : >"$logs/$kind"
    still_running "$dir" "$logs/$kind" &
    watch=$!
    "${fixed[@]}" ctest --test-dir "$dir" --output-on-failure -j2 "${ctest_args[@]}" 2>&1 | tee "$logs/$kind" || result=$?
    kill "$watch" 2>/dev/null || true
    local line
    line=$(grep -E 'tests passed|No tests were found' "$logs/$kind" | tail -n1 || true)
    printf '%-50s %s\n' "$label:" "${line:-no result (ctest status $result)}" >>"$logs/summary"
    if [ $result -ne 0 ]; then
        # What a failed run left behind, for a failure seen only elsewhere.
        echo
        echo "ctest failed ($result). Wine's processes, memory and load at the end:"
        ps -eo pid,ppid,stat,pcpu,etime,rss,wchan:20,args --sort=-pcpu | grep -E 'PID|wine|\.exe|devcon|qemu' |
            grep -v -E ' ps -eo | grep ' || true
        free -m || true
        cat /proc/loadavg
        echo "stdin: $(readlink /proc/$$/fd/0 || echo closed)"
    fi
    return $result
}
ctest_args=("$@")

if on 64; then
    (
        source "$root/scripts/wine-env.sh"
        run_suite 64 "64-bit build, 64-bit Windows" "$root/build/x86_64"
    ) || status=$?
fi
# Wine names files through the Unix locale's character set, and a fresh root
# shell often has no locale at all: the scripts give Wine a UTF-8 one then.
# The case that makes a folder of Chinese, Cyrillic and Korean names fails
# without it.
if on 64 && [ $# -eq 0 ]; then
    (
        unset LANG LANGUAGE "${!LC_@}"
        export GTEST_FILTER=SetupTemporaryDirectoryTest.HoldingCharactersOutsideTheAnsiCodePage
        ctest_args=(-R '^setup_end_to_end_tests$')
        source "$root/scripts/wine-env.sh"
        run_suite no-locale "64-bit build, no locale variables, one case" "$root/build/x86_64"
    ) || status=$?
fi
# Emulated Windows is several times slower: the long run's leak checks hold
# from its first round on, so 50 rounds show a leak as 200 would, in about a
# quarter of the time.
export TAVRIN_LONG_RUN_CYCLES=${TAVRIN_LONG_RUN_CYCLES:-50}
if on wow64; then
    export TAVRIN_EMULATED_WINDOWS=win64
    run_suite wow64 "32-bit build, 64-bit Windows (WoW64, emulated)" \
        "$root/build/i686-tests" || status=$?
fi
if on win32; then
    export TAVRIN_EMULATED_WINDOWS=win32
    run_suite win32 "32-bit build, 32-bit Windows (emulated)" \
        "$root/build/i686-tests" || status=$?
fi

echo
echo "== Summary"
cat "$logs/summary"
if [ $status -ne 0 ]; then
    exit $status
fi
# The benchmarks in short: their figures printed, no timing judged
# (scripts/bench.sh gives the full table).
if [ $# -eq 0 ] && on 64; then
    echo
    echo "Short benchmark run, 3 runs of each figure (the full table: bash scripts/bench.sh)"
    (
        source "$root/scripts/wine-env.sh"
        "$root/scripts/run-bench.sh" --runs 3
    )
fi
