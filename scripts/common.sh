# Sourced by the scripts: their usage and option errors, and the locale
# Wine runs under.

# The comment at the top of the running script, from its second line up to
# "set -euo pipefail".
usage() {
    sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'
}

# Names what was not understood, before anything is installed or built.
usage_error() {
    echo "$(basename "$0"): $*; see: bash $0 --help" >&2
    exit 2
}

# For a script without options: --help, or nothing.
no_options() {
    case "${1:-}" in
    '') ;;
    --help | -h) usage; exit 0 ;;
    *) usage_error "unknown option \"$1\"" ;;
    esac
}

# Wine names files through the Unix locale's character set: without a UTF-8
# one (a shell with no LANG at all, say) a program cannot make or find a file
# whose name holds Chinese or Cyrillic characters. A UTF-8 locale the caller
# chose (such as zh_CN.UTF-8 for the Chinese interface) stays.
utf8_locale() {
    [ "$(locale charmap 2>/dev/null)" = UTF-8 ] || export LC_ALL=C.UTF-8
}
