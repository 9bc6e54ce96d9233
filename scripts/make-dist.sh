#!/usr/bin/env bash
# Makes the two release downloads from a built Windows tree:
#   OUT_DIR/tilerack-VERSION-win64.zip   the program, icons.dat, a README for
#                                        users and both licences in one folder
#   OUT_DIR/tilerack-VERSION-setup.exe   the per-user installer (installer/tilerack.nsi)
#   OUT_DIR/SHA256SUMS                   both downloads' SHA-256, as
#                                        `sha256sum -c` reads them
#   OUT_DIR/winget/                      the winget manifest of the release
#                                        (scripts/make-winget-manifest.sh)
# Both are reproducible: every file gets the same time stamp
# (SOURCE_DATE_EPOCH, by default the time of the last commit) and mode, the
# zip's entries are sorted and carry no extra fields, the installer keeps no
# file times (SetDateSave off), so the same tree gives the same bytes.
#
# With TILERACK_SIGN_PFX (and TILERACK_SIGN_PASSWORD_FILE, optionally
# TILERACK_SIGN_TIMESTAMP_URL) set, tilerack.exe, the uninstaller and the
# installer are signed (scripts/sign-file.sh). Without a time-stamp server
# it stops unless TILERACK_SIGN_NO_TIMESTAMP=1; a build signed so is as
# reproducible as an unsigned one.
#
# Usage: make-dist.sh WIN_BUILD_DIR OUT_DIR [VERSION]
# VERSION defaults to the file VERSION; another one only renames the
# downloads and the installer's version (the release check builds a "next"
# installer this way).
set -euo pipefail

if [ $# -lt 2 ] || [ $# -gt 3 ]; then
    echo "usage: $0 WIN_BUILD_DIR OUT_DIR [VERSION]" >&2
    exit 2
fi
ROOT=$(cd "$(dirname "$0")/.." && pwd)
WIN_DIR=$(cd "$1" && pwd)
OUT_DIR=$2
VERSION=${3:-$(head -n1 "$ROOT/VERSION")}
if ! [[ $VERSION =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]]; then
    echo "make-dist: VERSION must be MAJOR.MINOR.PATCH, not '$VERSION'" >&2
    exit 2
fi
for file in tilerack.exe icons.dat; do
    if [ ! -f "$WIN_DIR/$file" ]; then
        echo "make-dist: $WIN_DIR/$file is missing; build the Windows tree first (make win)" >&2
        exit 1
    fi
done
command -v makensis >/dev/null || { echo "make-dist: makensis is missing (package nsis)" >&2; exit 1; }
command -v zip >/dev/null || { echo "make-dist: zip is missing (package zip)" >&2; exit 1; }
SIGN=""
if [ -n "${TILERACK_SIGN_PFX:-}" ]; then
    SIGN=$ROOT/scripts/sign-file.sh
    command -v "${OSSLSIGNCODE:-osslsigncode}" >/dev/null ||
        { echo "make-dist: osslsigncode is missing (package osslsigncode)" >&2; exit 1; }
    # A signature without a time stamp stops verifying when the certificate
    # expires: a release is signed with one, unless the builder says otherwise.
    if [ -z "${TILERACK_SIGN_TIMESTAMP_URL:-}" ]; then
        if [ "${TILERACK_SIGN_NO_TIMESTAMP:-}" != 1 ]; then
            echo "make-dist: no time-stamp server (TILERACK_SIGN_TIMESTAMP_URL): the signatures would stop verifying" \
                "when the certificate expires; set TILERACK_SIGN_NO_TIMESTAMP=1 to sign without a time stamp" >&2
            exit 1
        fi
        echo "make-dist: WARNING: signing WITHOUT A TIME STAMP (TILERACK_SIGN_NO_TIMESTAMP=1): the signatures" \
            "stop verifying when the certificate expires" >&2
    fi
fi

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$ROOT" log -1 --format=%ct 2>/dev/null || true)
    [ -n "$SOURCE_DATE_EPOCH" ] || SOURCE_DATE_EPOCH=1798761600  # 2027-01-01
fi
export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C

mkdir -p "$OUT_DIR"
OUT_DIR=$(cd "$OUT_DIR" && pwd)
NAME=tilerack-$VERSION
STAGE=$OUT_DIR/.stage-$VERSION
rm -rf "$STAGE"
mkdir -p "$STAGE/$NAME"
trap 'rm -rf "$STAGE"' EXIT

# Text files with Windows line ends, for Notepad.
crlf() { sed -e 's/\r$//' -e 's/$/\r/' "$1" >"$2"; }
cp "$WIN_DIR/tilerack.exe" "$WIN_DIR/icons.dat" "$STAGE/$NAME/"
crlf "$ROOT/installer/README.md" "$STAGE/$NAME/README.md"
crlf "$ROOT/LICENSE" "$STAGE/$NAME/LICENSE.txt"
crlf "$ROOT/res/icons/LICENSE-tango.txt" "$STAGE/$NAME/LICENSE-tango.txt"
[ -z "$SIGN" ] || "$SIGN" "$STAGE/$NAME/tilerack.exe"
chmod 0755 "$STAGE/$NAME"
chmod 0644 "$STAGE/$NAME"/*
touch -h -d "@$SOURCE_DATE_EPOCH" "$STAGE/$NAME"/* "$STAGE/$NAME"

ZIP=$OUT_DIR/$NAME-win64.zip
SETUP=$OUT_DIR/$NAME-setup.exe
rm -f "$ZIP" "$SETUP" "$ZIP.tmp"
# -X: no extra fields (owner ids, Unix times); -D: no folder entries; the
# names come sorted from the list.
(cd "$STAGE" && find "$NAME" -type f | sort | zip -X -D -9 -q "$ZIP.tmp" -@)
mv "$ZIP.tmp" "$ZIP"

# The uninstaller is signed by makensis itself, before it is packed.
nsis_sign=()
[ -z "$SIGN" ] || nsis_sign=(-DSIGN_COMMAND="$SIGN")
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$VERSION" -DSTAGE="$STAGE/$NAME" \
    -DICON="$ROOT/res/mainicon.ico" -DOUTFILE="$SETUP.tmp" "${nsis_sign[@]}" "$ROOT/installer/tilerack.nsi"
[ -z "$SIGN" ] || "$SIGN" "$SETUP.tmp"
mv "$SETUP.tmp" "$SETUP"
touch -d "@$SOURCE_DATE_EPOCH" "$ZIP" "$SETUP"

(cd "$OUT_DIR" && sha256sum "$(basename "$ZIP")" "$(basename "$SETUP")" >SHA256SUMS)
"$ROOT/scripts/make-winget-manifest.sh" "$SETUP" "$VERSION" "$OUT_DIR"

for file in "$ZIP" "$SETUP"; do
    printf '%s  %s bytes\n' "$file" "$(stat -c %s "$file")"
done
if [ -n "$SIGN" ]; then
    echo "make-dist: signed tilerack.exe, the uninstaller and the installer with $TILERACK_SIGN_PFX"
else
    echo "make-dist: unsigned (set TILERACK_SIGN_PFX and TILERACK_SIGN_PASSWORD_FILE to sign)"
fi
