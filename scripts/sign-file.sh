#!/usr/bin/env bash
# Signs one Windows program in place with Authenticode (SHA-256), using
# osslsigncode and the maintainer's certificate:
#   TILERACK_SIGN_PFX            the certificate and its key, a PKCS #12 file
#   TILERACK_SIGN_PASSWORD_FILE  a file whose first line is its password
#                                (none: the PKCS #12 file has no password)
#   TILERACK_SIGN_TIMESTAMP_URL  an RFC 3161 time-stamp server; without one
#                                it stops, unless TILERACK_SIGN_NO_TIMESTAMP=1
#   OSSLSIGNCODE                 the osslsigncode to run (default: from PATH)
# Without a time stamp the signing time is SOURCE_DATE_EPOCH, so the same
# file and certificate give the same bytes; a time stamp makes every
# signature different.
# scripts/make-dist.sh calls it for tilerack.exe and the installer, and
# makensis (!uninstfinalize) for the uninstaller before it is packed.
#
# Usage: sign-file.sh FILE
set -euo pipefail

if [ $# -ne 1 ] || [ ! -f "$1" ]; then
    echo "usage: $0 FILE" >&2
    exit 2
fi
: "${TILERACK_SIGN_PFX:?sign-file: TILERACK_SIGN_PFX names no certificate}"
[ -r "$TILERACK_SIGN_PFX" ] || { echo "sign-file: cannot read $TILERACK_SIGN_PFX" >&2; exit 1; }
TOOL=${OSSLSIGNCODE:-osslsigncode}
command -v "$TOOL" >/dev/null || { echo "sign-file: osslsigncode is missing (package osslsigncode)" >&2; exit 1; }

if [ -z "${TILERACK_SIGN_TIMESTAMP_URL:-}" ] && [ "${TILERACK_SIGN_NO_TIMESTAMP:-}" != 1 ]; then
    echo "sign-file: no time-stamp server (TILERACK_SIGN_TIMESTAMP_URL); set TILERACK_SIGN_NO_TIMESTAMP=1" \
        "to sign without a time stamp (the signature stops verifying when the certificate expires)" >&2
    exit 1
fi

file=$1
args=(sign -pkcs12 "$TILERACK_SIGN_PFX" -h sha256 -n tilerack)
if [ -n "${TILERACK_SIGN_PASSWORD_FILE:-}" ]; then
    [ -r "$TILERACK_SIGN_PASSWORD_FILE" ] || { echo "sign-file: cannot read $TILERACK_SIGN_PASSWORD_FILE" >&2; exit 1; }
    args+=(-readpass "$TILERACK_SIGN_PASSWORD_FILE")
else
    args+=(-pass "")
fi
if [ -n "${TILERACK_SIGN_TIMESTAMP_URL:-}" ]; then
    args+=(-ts "$TILERACK_SIGN_TIMESTAMP_URL")
elif [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
    args+=(-time "$SOURCE_DATE_EPOCH")
fi

signed=$file.signing
rm -f "$signed"
trap 'rm -f "$signed"' EXIT
if ! "$TOOL" "${args[@]}" -in "$file" -out "$signed" >"$signed.log" 2>&1; then
    cat "$signed.log" >&2
    rm -f "$signed.log"
    echo "sign-file: signing $file failed" >&2
    exit 1
fi
rm -f "$signed.log"
mv "$signed" "$file"
