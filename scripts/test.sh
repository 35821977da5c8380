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
# Other arguments go to ctest, in every run; with any, no benchmarks.
# TAVRIN_LONG_RUN_CYCLES in the environment sets the long run's rounds
# (200 when unset; 50 in the emulated runs when unset).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
kinds=64,wow64,win32
if [ "${1:-}" = "--on" ]; then
    kinds=$2
    shift 2
fi
for kind in ${kinds//,/ }; do
    case "$kind" in
    64 | wow64 | win32) ;;
    *)
        echo "test.sh: unknown Windows kind \"$kind\" (64, wow64, win32)" >&2
        exit 2
        ;;
    esac
done
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
summary=()
status=0

# run_suite <kind> <label> <build dir>: ctest there, its output kept for the
# summary line.
run_suite() {
    local kind=$1 label=$2 dir=$3 result=0
    echo
    echo "== $label"
    # Under Wine 8 a new process fails to start, now and then, when the
    # kernel's address-space randomization has put something where Windows'
    # shared user data must go ("failed to map the shared user data",
    # CreateProcess error 1359): about once in 3000 devcon starts here. The
    # 64-bit run's processes therefore keep the fixed layout.
    local fixed=()
    [ "$kind" = 64 ] && fixed=(setarch "$(uname -m)" --addr-no-randomize)
    "${fixed[@]}" ctest --test-dir "$dir" --output-on-failure -j2 "${ctest_args[@]}" 2>&1 | tee "$logs/$kind" || result=$?
    local line
    line=$(grep -E 'tests passed|No tests were found' "$logs/$kind" | tail -n1 || true)
    summary+=("$(printf '%-50s %s' "$label:" "${line:-no result (ctest status $result)}")")
    if [ $result -ne 0 ]; then
        status=$result
        # What a failed run left behind, for a failure seen only elsewhere.
        echo
        echo "ctest failed ($result). Wine's processes, memory and load at the end:"
        ps -eo pid,ppid,stat,pcpu,etime,rss,wchan:20,args --sort=-pcpu | grep -E 'PID|wine|\.exe|devcon|qemu' |
            grep -v -E ' ps -eo | grep ' || true
        free -m || true
        cat /proc/loadavg
        echo "stdin: $(readlink /proc/$$/fd/0 || echo closed)"
    fi
}
ctest_args=("$@")

if on 64; then
    (
        source "$root/scripts/wine-env.sh"
        run_suite 64 "64-bit build, 64-bit Windows" "$root/build/x86_64"
        printf '%s\n' "${summary[@]}" >"$logs/summary-64"
        exit $status
    ) || status=$?
    [ -f "$logs/summary-64" ] && mapfile -t summary <"$logs/summary-64"
fi
# Emulated Windows is several times slower: the long run's leak checks hold
# from its first round on, so 50 rounds show a leak as 200 would, in about a
# quarter of the time.
export TAVRIN_LONG_RUN_CYCLES=${TAVRIN_LONG_RUN_CYCLES:-50}
if on wow64; then
    export TAVRIN_EMULATED_WINDOWS=win64
    run_suite wow64 "32-bit build, 64-bit Windows (WoW64, emulated)" \
        "$root/build/i686-tests"
fi
if on win32; then
    export TAVRIN_EMULATED_WINDOWS=win32
    run_suite win32 "32-bit build, 32-bit Windows (emulated)" \
        "$root/build/i686-tests"
fi

echo
echo "== Summary"
printf '%s\n' "${summary[@]}"
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
