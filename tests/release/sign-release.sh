#!/usr/bin/env bash
# Signs copies of both executables through scripts/sign.sh with a certificate
# authority, a code-signing certificate and a time-stamp server made for this
# run (never kept in the repository), and leaves them with a changed copy for
# the Windows-side checks: <folder>/setup.exe, setup64.exe and changed.exe.
#   sign-release.sh <folder> <32-bit setup.exe> <64-bit setup.exe> <URL to name>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
sign=$here/../../scripts/sign.sh
folder=$1
rm -rf "$folder"
mkdir -p "$folder"
cd "$folder"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Tavrin Test Authority" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign" \
    -keyout authority.key -out authority.crt 2>/dev/null
openssl req -newkey rsa:2048 -nodes -subj "/CN=Tavrin Test Publisher" -keyout publisher.key -out publisher.csr 2>/dev/null
printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >publisher.ext
openssl x509 -req -days 2 -in publisher.csr -CA authority.crt -CAkey authority.key -CAcreateserial \
    -extfile publisher.ext -out publisher.crt 2>/dev/null
printf 'test password\n' >password
openssl pkcs12 -export -inkey publisher.key -in publisher.crt -passout file:password -out publisher.pfx
# A time-stamp authority of the same certificate authority, served here.
openssl req -newkey rsa:2048 -nodes -subj "/CN=Tavrin Test Time Stamps" -keyout stamps.key -out stamps.csr 2>/dev/null
printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=critical,timeStamping\n' >stamps.ext
openssl x509 -req -days 2 -in stamps.csr -CA authority.crt -CAkey authority.key -CAcreateserial \
    -extfile stamps.ext -out stamps.crt 2>/dev/null
printf '[tsa]\ndefault_tsa = test\n[test]\nserial = %s\nsigner_cert = %s\nsigner_key = %s\nsigner_digest = sha256\ndefault_policy = 1.2.3.4.1\ndigests = sha256\ness_cert_id_alg = sha256\n' \
    "$folder/stamps.serial" "$folder/stamps.crt" "$folder/stamps.key" >stamps.cnf
python3 "$here/time-stamp-server.py" "$folder/stamps.cnf" >stamps.port &
server=$!
trap 'kill $server' EXIT
for _ in $(seq 50); do
    [ -s stamps.port ] && break
    sleep 0.1
done
cp "$2" setup.exe
cp "$3" setup64.exe
export TAVRIN_SIGN_URL=$4 TAVRIN_SIGN_PASSWORD_FILE=$folder/password \
    TAVRIN_SIGN_CA_FILE=$folder/authority.crt TAVRIN_SIGN_TIMESTAMP_URL=http://127.0.0.1:$(cat stamps.port)/
"$sign" sign publisher.pfx setup.exe setup64.exe | tee signed.txt
[ "$(grep -c 'Timestamp Server Signature verification: ok' signed.txt)" = 2 ] || {
    echo "sign-release.sh: the signatures carry no verified time stamp" >&2
    exit 1
}
"$sign" unsigned setup.exe "$2"
"$sign" unsigned setup64.exe "$3"
# One byte of the code section changed: the signature must no longer hold.
cp setup64.exe changed.exe
text=$(x86_64-w64-mingw32-objdump -h changed.exe | awk '$2 == ".text" { print $6; exit }')
offset=$((0x$text + 64))
byte=$(od -A n -t u1 -j "$offset" -N 1 changed.exe)
printf "\\$(printf %03o $((byte ^ 255)))" | dd of=changed.exe bs=1 seek="$offset" conv=notrunc status=none
if "$sign" verify changed.exe >/dev/null 2>&1; then
    echo "sign-release.sh: a signed file with one changed byte still verifies" >&2
    exit 1
fi
echo "changed.exe (one byte at $offset changed): verification fails, as it must"
