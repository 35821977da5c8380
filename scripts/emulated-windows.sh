#!/usr/bin/env bash
# Runs Windows programs on emulated 32-bit-capable Windows: this machine cannot
# execute 32-bit x86 code, so the 32-bit Wine loader (each 32-bit Windows
# process) runs under qemu-i386. Everything lives in a Debian 12 chroot with
# wine32 and qemu-user 10 (bookworm-backports); the machine's own Wine and
# binfmt_misc are never touched: each run enters new user, mount, pid and
# network namespaces, mounts a binfmt_misc of its own there and registers the
# chroot's qemu-i386 for i386 programs. Every process a run starts ends with
# it (the pid namespace goes with its first process).
#
#   emulated-windows.sh prepare                 build the cached environment if missing
#   emulated-windows.sh run [<kind>] <program> [args...]
#                                               run one Windows program, exit with its code;
#                                               without <kind>, $TAVRIN_EMULATED_WINDOWS
#   emulated-windows.sh session <kind> <command> [args...]
#                                               run a Linux command in the chroot, the prefix up
#   emulated-windows.sh clean                   remove the cache
#
# <kind> is win64 (64-bit Windows: a 32-bit program runs under WoW64) or win32
# (32-bit Windows: everything emulated, no 64-bit programs).
#
# The cache: $TAVRIN_EMULATED_CACHE, by default /var/cache/tavrin-emulated-windows,
# one folder named after the hash of the recipe (marked below), holding the
# chroot and one prefix template per kind. A changed recipe builds a new one
# and removes the old. A run mounts its prefix as an overlay over the template,
# with a throwaway upper layer in memory, so the template stays as made.
#
# Each run sees the repository and its current folder at their own paths, so
# the paths CMake writes into the tests hold inside it too; output stays there.
set -euo pipefail
script=$(readlink -f "$0")
root=$(cd "$(dirname "$script")/.." && pwd)
source "$root/scripts/common.sh"
cache_base=${TAVRIN_EMULATED_CACHE:-/var/cache/tavrin-emulated-windows}
# The recipe: the lines between the two recipe marks below, what the
# environment is made of; the rest of the script only uses it.
recipe=$(sed -n '/^# --- recipe ---$/,/^# --- end of recipe ---$/p' "$script" | sha256sum | cut -c1-16)
cache="$cache_base/$recipe"

# i386 ELF executables (e_machine 3, static and dynamic), as qemu's own
# binfmt registration matches them.
i386_magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
i386_mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

log() { printf '[emulated-windows %s] %s\n' "$(date +%H:%M:%S)" "$*"; }

# Runs a long step with its output in the build log, printing how far it got
# every 20 seconds; on failure the end of the log.
step() {
    local label=$1 started=$SECONDS pid status=0
    shift
    log "$label"
    echo "== $label" >>"$build_log"
    # A job of its own (a process group), so that all of it ends with this script.
    set -m
    "$@" >>"$build_log" 2>&1 &
    pid=$!
    set +m
    trap 'kill -TERM -- -$pid 2>/dev/null; exit 143' TERM INT HUP
    while kill -0 "$pid" 2>/dev/null; do
        for _ in $(seq 20); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 1
        done
        if kill -0 "$pid" 2>/dev/null; then
            log "  ... $((SECONDS - started)) s: $(tail -n1 "$build_log" | cut -c1-100)"
        fi
    done
    wait "$pid" || status=$?
    trap - TERM INT HUP
    if [ $status -ne 0 ]; then
        log "FAILED ($label, status $status); the end of $build_log:"
        tail -n 30 "$build_log"
        exit $status
    fi
    log "  done in $((SECONDS - started)) s"
}

# once <name> <label> <command...>: a build step, skipped when a build cut
# short already finished it; its output is removed before it starts again.
once() {
    local name=$1 label=$2
    shift 2
    [ -f "$build_dir/.done-$name" ] && return 0
    case "$name" in
    bootstrap) rm -rf "$build_dir/root" ;;
    win64 | win32) rm -rf "${build_dir:?}/$name" ;;
    esac
    step "$label" "$@"
    touch "$build_dir/.done-$name"
}

# In a private mount namespace: the chroot's /proc and /dev for package
# installation, gone when the command ends.
in_chroot() {
    unshare --mount --pid --fork --kill-child --mount-proc bash -c '
        set -e
        r=$1; shift
        mount --make-rprivate /
        mount -t proc proc "$r/proc"
        mount --rbind /dev "$r/dev"
        mount -t tmpfs tmpfs "$r/dev/shm"
        mount -t tmpfs tmpfs "$r/tmp"
        exec chroot "$r" "$@"' _ "$build_dir/root" "$@"
}

# --- recipe ---
# cabextract: the extraction benchmark's native peer.
packages=(wine wine64 wine32:i386 xvfb x11-utils locales fonts-wine fonts-wqy-microhei cabextract)
# The X libraries Wine's X11 driver loads at run time, for both loaders.
for lib in libxrender1 libxrandr2 libxi6 libxcursor1 libxcomposite1 libxinerama1 libxfixes3 libxxf86vm1; do
    packages+=("$lib" "$lib:i386")
done

install_packages() {
    local r="$build_dir/root"
    cat >"$r/etc/apt/sources.list" <<EOF
deb http://deb.debian.org/debian bookworm main
deb http://deb.debian.org/debian bookworm-updates main
deb http://deb.debian.org/debian-security bookworm-security main
deb http://deb.debian.org/debian bookworm-backports main
EOF
    cp /etc/resolv.conf "$r/etc/resolv.conf"
    # No service of a package starts in the chroot.
    printf '#!/bin/sh\nexit 101\n' >"$r/usr/sbin/policy-rc.d"
    chmod +x "$r/usr/sbin/policy-rc.d"
    printf 'en_US.UTF-8 UTF-8\nzh_CN.UTF-8 UTF-8\n' >"$r/etc/locale.gen"
    in_chroot dpkg --add-architecture i386
    in_chroot apt-get update
    in_chroot env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
        "${packages[@]}" qemu-user/bookworm-backports
    in_chroot locale-gen
    in_chroot apt-get clean
}

# A new prefix of the kind, set up by its first program, with the settings
# the tests need, shut down cleanly so that its registry is written.
make_template() {
    local kind=$1
    mkdir -p "$build_dir/$kind"
    enter "$build_dir" "$kind" template bash -c '
        set -e
        wine reg add "HKCU\Software\Wine\X11 Driver" /v Managed /d N /f
        wine reg add "HKCU\Software\Wine\WineDbg" /v ShowCrashDialog /t REG_DWORD /d 0 /f
        wait_for_plug_and_play
        wineboot --shutdown
        # The persistent server writes the registry as it ends.
        wineserver -k
        wineserver -w
        grep -q ShowCrashDialog "$WINEPREFIX/user.reg"'
}

# --- end of recipe ---

prepare() {
    [ -f "$cache/ready" ] && return 0
    mkdir -p "$cache_base"
    exec 9>"$cache_base/lock"
    flock 9
    [ -f "$cache/ready" ] && return 0
    # A build cut short resumes after its last finished step.
    build_dir="$cache.partial"
    mkdir -p "$build_dir"
    build_log="$build_dir.log"
    log "Building the emulated Windows environment in $cache (log: $build_log)"
    if ! command -v debootstrap >/dev/null; then
        step "Installing debootstrap on the host" \
            flock /tmp/apt.lock bash -c 'apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap'
    fi
    once bootstrap "debootstrap bookworm (minbase)" \
        debootstrap --variant=minbase bookworm "$build_dir/root" http://deb.debian.org/debian
    once packages "Installing wine32, qemu-user 10 and X into the chroot" install_packages
    once win64 "Making the win64 prefix template (WoW64)" make_template win64
    once win32 "Making the win32 prefix template (32-bit Windows)" make_template win32
    rm -f "$build_dir"/.done-*
    mv "$build_dir" "$cache"
    mv "$build_log" "$cache.log"
    touch "$cache/ready"
    # Environments of earlier recipes.
    find "$cache_base" -mindepth 1 -maxdepth 1 ! -name "$recipe" ! -name "$recipe.log" ! -name lock \
        -exec rm -rf {} +
    log "Ready: $cache ($(du -sh "$cache" | cut -f1))"
}

# enter <cache> <kind> <mode> <command...>: the namespaces, the mounts and the
# prefix, then the command inside the chroot. mode "template" makes the
# template itself, "overlay" runs over it. Root maps to root in the new user
# namespace. unshare ends with this shell, whatever ends it, and the first
# process of the pid namespace with unshare: then every process in it ends.
enter() {
    local dir=$1 kind=$2 mode=$3 child status=0
    shift 3
    setpriv --pdeathsig KILL unshare --map-root-user --mount --pid --net --fork --kill-child \
        "$script" _inside "$dir" "$kind" "$mode" "$PWD" "$@" <&0 &
    child=$!
    trap 'kill -KILL $child 2>/dev/null; exit 143' TERM INT HUP
    wait "$child" || status=$?
    exit $status
}

# The first process of the namespaces.
inside() {
    local dir=$1 kind=$2 mode=$3 cwd=$4
    shift 4
    local r="$dir/root"
    mount --make-rprivate /
    mount -t proc proc /proc
    if ! mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc; then
        echo "emulated-windows: no binfmt_misc of a user namespace's own in Linux $(uname -r) (6.7 and later have it)" >&2
        exit 1
    fi
    # F: the interpreter is opened now, from outside the chroot.
    echo ":tavrin-i386:M::$i386_magic:$i386_mask:$r/usr/bin/qemu-i386:F" >/proc/sys/fs/binfmt_misc/register
    mount -t proc proc "$r/proc"
    mount --rbind /dev "$r/dev"
    mount -t tmpfs tmpfs "$r/dev/shm"
    mount -t tmpfs tmpfs "$r/tmp"
    mkdir -p "$r/tmp/wine/prefix"
    mount --rbind -o ro /sys "$r/sys"
    mkdir -p "$r$root"
    mount --bind "$root" "$r$root"
    # The current folder too, unless it holds the run's own /tmp (or is the repository's).
    if [[ "$cwd" != / && "/tmp/wine/" != "$cwd/"* && "$cwd/" != "$root/"* ]]; then
        mkdir -p "$r$cwd"
        mount --bind "$cwd" "$r$cwd"
    fi
    # The prefix, and beside it what a run writes, in the run's own /tmp.
    if [ "$mode" = template ]; then
        mount --bind "$dir/$kind" "$r/tmp/wine/prefix"
    else
        mkdir "$r/tmp/wine/upper" "$r/tmp/wine/work"
        mount -t overlay overlay \
            -o "lowerdir=$dir/$kind,upperdir=$r/tmp/wine/upper,workdir=$r/tmp/wine/work" "$r/tmp/wine/prefix"
    fi
    export WINEARCH=$kind WINEPREFIX=/tmp/wine/prefix HOME=/root TMPDIR=/tmp
    export WINEDEBUG=${WINEDEBUG:--all}
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
    exec chroot "$r" /bin/bash -c "$(declare -f session wait_for_plug_and_play utf8_locale); cd \"\$1\"; shift; session \"\$@\"" \
        _ "$cwd" "$@"
}

wait_for_plug_and_play() {
    for _ in $(seq 240); do
        timeout 20 wine sc query PlugPlay 2>/dev/null | grep -q RUNNING && return 0
        sleep 0.5
    done
    echo "emulated-windows: the plug-and-play service did not start" >&2
    return 1
}

# In the chroot: a virtual display, the persistent wineserver, the command.
session() {
    local display_file=/tmp/.display
    utf8_locale
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
    for _ in $(seq 100); do
        [ -s "$display_file" ] && break
        sleep 0.1
    done
    export DISPLAY=":$(head -n1 "$display_file")"
    timeout 20 wineserver -p </dev/null >/dev/null 2>&1
    export -f wait_for_plug_and_play
    "$@"
}

kind_arg() {
    case "${1:-}" in
    win64 | win32) ;;
    *) usage_error "the kind must be win64 or win32, not \"${1:-}\"" ;;
    esac
}

# Every run enters a user namespace of its own (for a binfmt_misc of its
# own); say so in plain words where the system refuses one, before anything
# is built.
user_namespaces() {
    local refused
    refused=$(unshare --user --map-root-user true 2>&1) && return 0
    cat >&2 <<EOF
emulated-windows.sh: this system refuses a new user namespace ($refused).
The emulated runs need one: each has a binfmt_misc of its own, which sends
32-bit programs to qemu-i386 without touching the machine's. Linux refuses
user namespaces to a process in a chroot, and a container may forbid them
(or /proc/sys/user/max_user_namespaces is 0). Run on the machine itself or
in a virtual machine; here "bash scripts/test.sh --on 64" runs the 64-bit suite.
EOF
    exit 1
}

command=${1:-}
shift || true
case "$command" in
prepare)
    user_namespaces
    prepare
    ;;
run)
    # As ctest's emulator the kind comes from the environment.
    case "${1:-}" in
    win64 | win32) kind=$1; shift ;;
    *)
        kind=${TAVRIN_EMULATED_WINDOWS:-}
        [ -n "$kind" ] || usage_error "the kind must be win64 or win32 (or in TAVRIN_EMULATED_WINDOWS), not \"${1:-}\""
        ;;
    esac
    kind_arg "$kind"
    user_namespaces
    prepare
    enter "$cache" "$kind" overlay bash -c 'wait_for_plug_and_play && exec wine "$@"' _ "$@"
    ;;
session)
    kind_arg "${1:-}"
    kind=$1
    shift
    user_namespaces
    prepare
    enter "$cache" "$kind" overlay bash -c 'wait_for_plug_and_play && exec "$@"' _ "$@"
    ;;
clean)
    rm -rf "$cache_base"
    ;;
_inside)
    inside "$@"
    ;;
--help | -h)
    usage
    ;;
'')
    usage >&2
    exit 2
    ;;
*)
    usage_error "unknown command \"$command\""
    ;;
esac
