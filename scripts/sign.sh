#!/usr/bin/env bash
# Authenticode signatures of the release executables, with osslsigncode.
#   sign.sh sign <cert.pfx> [<file>...]    signs each file in place (SHA-256),
#                                          then verifies it; without files only
#                                          checks that it could start
#   sign.sh verify <file>...               fails unless each signature holds
#   sign.sh unsigned <signed> <unsigned>   fails unless the signed file less its
#                                          signature is the unsigned one
# Environment:
#   TAVRIN_SIGN_URL             the URL the signature names with the product
#                               (needed to sign)
#   TAVRIN_SIGN_PASSWORD_FILE   a file whose first line is the certificate's
#                               password; unset: an empty password
#   TAVRIN_SIGN_TIMESTAMP_URL   an RFC 3161 time-stamp server; unset: no time stamp
#   TAVRIN_SIGN_CA_FILE         the certificate authorities to verify the
#                               signature and time stamp against; unset: the
#                               system's (/etc/ssl/certs)
set -euo pipefail
source "$(dirname "$0")/common.sh"
product="Tavrin Manager"

verify() {  # file
    local ca=() report
    [ -n "${TAVRIN_SIGN_CA_FILE:-}" ] && ca=(-CAfile "$TAVRIN_SIGN_CA_FILE" -TSA-CAfile "$TAVRIN_SIGN_CA_FILE")
    if ! report=$(osslsigncode verify "${ca[@]}" -in "$1" 2>&1); then
        printf '%s\n' "$report" >&2
        echo "sign.sh: the signature of $1 does not verify" >&2
        return 1
    fi
    echo "$1:"
    # The signer, what it signed with, the time stamp and the verdict.
    printf '%s\n' "$report" | awk '/Subject:/ && !signer++ || /^Message digest algorithm +:|description:|Timestamp (time|is not|Server Signature)|signature is timestamped|^Signature verification/ {
        sub(/^[ \t]+/, ""); print "  " $0 }'
}

sign() {  # cert file...
    local cert=$1 file options=()
    shift
    if [ -z "${TAVRIN_SIGN_URL:-}" ]; then
        echo "sign.sh: set TAVRIN_SIGN_URL to the address the signature names with the product" >&2
        return 2
    fi
    for file in "$cert" ${TAVRIN_SIGN_PASSWORD_FILE:+"$TAVRIN_SIGN_PASSWORD_FILE"}; do
        [ -r "$file" ] || { echo "sign.sh: cannot read $file" >&2; return 2; }
    done
    # The password only ever in a file: on the command line every user of the
    # machine could read it.
    [ -n "${TAVRIN_SIGN_PASSWORD_FILE:-}" ] && options+=(-readpass "$TAVRIN_SIGN_PASSWORD_FILE")
    [ -n "${TAVRIN_SIGN_TIMESTAMP_URL:-}" ] && options+=(-ts "$TAVRIN_SIGN_TIMESTAMP_URL")
    for file in "$@"; do
        # osslsigncode does not overwrite; a failed run may have left one.
        rm -f "$file.signed"
        osslsigncode sign -pkcs12 "$cert" "${options[@]}" -h sha256 -n "$product" -i "$TAVRIN_SIGN_URL" \
            -in "$file" -out "$file.signed" >/dev/null
        mv "$file.signed" "$file"
        verify "$file"
    done
}

# osslsigncode's remove-signature pads the file to a multiple of 8 bytes with
# zeros and writes a new PE checksum: everything else must be as built.
unsigned() {  # signed unsigned
    local folder stripped size pe
    folder=$(mktemp -d)
    trap 'rm -rf "$folder"' RETURN
    stripped=$folder/unsigned.exe
    osslsigncode remove-signature -in "$1" -out "$stripped" >/dev/null
    size=$(stat -c %s "$2")
    pe=$(od -A n -t u4 -j 60 -N 4 "$2" | tr -d ' ')
    # cmp counts bytes from 1; the checksum is at 88 in the PE header.
    if { cmp -l -n "$size" "$2" "$stripped" || [ $? -eq 1 ]; } | awk -v from=$((pe + 89)) '$1 < from || $1 >= from + 4 { bad = 1 } END { exit bad }' &&
        [ "$(stat -c %s "$stripped")" -eq $(((size + 7) / 8 * 8)) ] &&
        [ -z "$(tail -c +$((size + 1)) "$stripped" | tr -d '\0')" ]; then
        echo "$1 less its signature: the bytes of $2 (PE checksum and zero padding aside)"
    else
        echo "sign.sh: $1 less its signature differs from $2" >&2
        return 1
    fi
}

command=${1:-}
case "$command" in
sign) [ $# -ge 2 ] || usage_error "sign needs the certificate file" ;;
verify) [ $# -ge 2 ] || usage_error "verify needs the files" ;;
unsigned) [ $# -eq 3 ] || usage_error "unsigned needs the signed and the unsigned file" ;;
--help | -h) usage; exit 0 ;;
'') usage >&2; exit 2 ;;
*) usage_error "unknown command \"$command\"" ;;
esac
shift
if [ "$command" = verify ]; then
    for file in "$@"; do verify "$file"; done
else
    "$command" "$@"
fi
