#!/usr/bin/env bash
# The release check: makes the downloads (scripts/make-dist.sh) twice and
# compares them, checks SHA256SUMS, the winget manifest and the README's
# sizes, signs a build with a throwaway certificate and verifies its three
# signatures, reads the program's version resource back, then installs,
# updates (the signed build over a running panel) and uninstalls under Wine
# on a private Xvfb with a private, fresh Wine prefix
# ($WIN_DIR/dist-check/prefix), with the user's items in "shorts.dat"
# watched all along. Ends with "dist: N passed, N failed" and a
# non-zero status on any failure; stops only what it started.
#
# Usage: run-dist-check.sh WIN_BUILD_DIR DIST_DIR
set -uo pipefail

if [ $# -ne 2 ] || [ ! -d "$1" ]; then
    echo "usage: $0 WIN_BUILD_DIR DIST_DIR" >&2
    exit 2
fi
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
WIN_DIR=$(cd "$1" && pwd)
mkdir -p "$2"
DIST_DIR=$(cd "$2" && pwd)
CHECK_DIR=$WIN_DIR/dist-check
mkdir -p "$CHECK_DIR"
for exe in tilerack.exe dist_driver.exe icons.dat; do
    if [ ! -f "$WIN_DIR/$exe" ]; then
        echo "dist-check: $WIN_DIR/$exe is missing; build the Windows tree first" >&2
        echo "dist: 0 passed, 1 failed"
        exit 1
    fi
done

exec 9>"$CHECK_DIR/.lock"
if ! flock -w 900 9; then
    echo "dist-check: another run holds $CHECK_DIR/.lock" >&2
    echo "dist: 0 passed, 1 failed"
    exit 1
fi

VERSION=$(head -n1 "$ROOT/VERSION")
IFS=. read -r MAJOR MINOR PATCH <<<"$VERSION"
NEXT_VERSION=$MAJOR.$MINOR.$((PATCH + 1))
LATER_VERSION=$MAJOR.$MINOR.$((PATCH + 2))
ZIP=$DIST_DIR/tilerack-$VERSION-win64.zip
SETUP=$DIST_DIR/tilerack-$VERSION-setup.exe
NEXT_SETUP=$CHECK_DIR/next/tilerack-$NEXT_VERSION-setup.exe
# The later version is the signed build: its program differs from the
# unsigned one by its signature, so the update's new files can be told apart.
SIGNED_DIR=$CHECK_DIR/signed
LATER_SETUP=$SIGNED_DIR/tilerack-$LATER_VERSION-setup.exe
SIGNED_EXE=$SIGNED_DIR/tilerack.exe
CERT_DIR=$CHECK_DIR/cert
TEST_RELEASE_URL=https://downloads.example.test/tilerack/v$LATER_VERSION

export WINEPREFIX=$CHECK_DIR/prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset WINESERVER WINELOADER WINEARCH

XVFB_PID=""
WM_PID=""
PANEL_PID=""
TSA_PID=""
. "$ROOT/scripts/private-display.sh"
cleanup() {
    [ -n "$PANEL_PID" ] && kill "$PANEL_PID" 2>/dev/null
    [ -n "$TSA_PID" ] && kill "$TSA_PID" 2>/dev/null
    stop_private_display
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

passed=0
failed=0
scenario_ok=1
fail() {
    echo "  FAILED: $*"
    scenario_ok=0
}
# expect DESCRIPTION COMMAND...: the command must succeed.
expect() {
    local description=$1
    shift
    "$@" || fail "$description"
}
scenario() {
    local name=$1
    shift
    echo "== $name"
    scenario_ok=1
    "$@"
    if [ "$scenario_ok" -eq 1 ]; then
        echo "[  PASSED  ] $name"
        passed=$((passed + 1))
    else
        echo "[  FAILED  ] $name"
        failed=$((failed + 1))
    fi
}
# wait_until SECONDS COMMAND...: polls the command until it succeeds or the
# deadline passes.
wait_until() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -ge "$deadline" ] && return 1
        sleep 0.2
    done
}
not() { ! "$@"; }
winpath() { printf 'Z:%s' "${1//\//\\}"; }
wine_run() { timeout --kill-after=10 "$1" wine "${@:2}"; }
driver() { wine_run 60 "$WIN_DIR/dist_driver.exe" "$@"; }
# reg_value KEY NAME prints the value's data; fails when it is missing.
reg_value() {
    wine_run 60 reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
        awk -v name="$2" '$1 == name { sub(/^[ \t]*[^ \t]+[ \t]+[^ \t]+[ \t]*/, ""); print; found = 1 } END { exit !found }'
}
reg_missing() { ! wine_run 60 reg query "$1" /v "$2" >/dev/null 2>&1; }
reg_key_missing() { ! wine_run 60 reg query "$1" >/dev/null 2>&1; }
expect_reg() {
    local key=$1 name=$2 want=$3 got
    got=$(reg_value "$key" "$name") || { fail "$key has no value $name"; return; }
    [ "$got" = "$want" ] || fail "$key\\$name is '$got', not '$want'"
}
same_file() { cmp -s "$1" "$2"; }

# The panel, started in the background as a user would (its items beside it).
start_panel() {
    wine "$1" >/dev/null 2>&1 &
    PANEL_PID=$!
    driver wait-panel 30000 || { fail "the panel from $1 showed no window"; return 1; }
}
# The process started by start_panel has ended (closed by someone else).
panel_ended() { ! kill -0 "$PANEL_PID" 2>/dev/null; }
forget_panel() {
    if [ -n "$PANEL_PID" ] && ! wait_until 30 panel_ended; then
        fail "the panel's process did not end"
        kill "$PANEL_PID" 2>/dev/null
    fi
    wait "$PANEL_PID" 2>/dev/null
    PANEL_PID=""
}
close_panel() {
    driver close-panel 30000 || fail "the panel did not close on WM_CLOSE"
    forget_panel
}
# No tilerack.exe runs. An installer starts its panel before it ends, so
# asking once after it has ended is enough.
no_panel_running() {
    local programs
    programs=$(driver panel-programs) || return 1
    [ -z "$(tr -d '\r' <<<"$programs")" ] || { echo "  running: $programs"; return 1; }
}

# --- The downloads -------------------------------------------------------------
# The output of make-dist.sh into OUT_DIR.
dist_log() { printf '%s/%s.log' "$CHECK_DIR" "$(basename "$1")"; }
# make_dist OUT_DIR [VERSION]: an unsigned build, whatever the caller's
# environment holds.
make_dist() {
    env -u TILERACK_SIGN_PFX -u TILERACK_SIGN_PASSWORD_FILE -u TILERACK_SIGN_TIMESTAMP_URL \
        "$ROOT/scripts/make-dist.sh" "$WIN_DIR" "$@" >"$(dist_log "$1")" 2>&1
}

check_reproducible() {
    rm -rf "$CHECK_DIR/again" "$CHECK_DIR/next"
    make_dist "$DIST_DIR" || fail "make-dist.sh failed: $(cat "$(dist_log "$DIST_DIR")")"
    expect "make-dist.sh failed the second time" make_dist "$CHECK_DIR/again"
    local file
    for file in "$ZIP" "$SETUP" "$DIST_DIR/SHA256SUMS" "$DIST_DIR"/winget/*.yaml; do
        [ -s "$file" ] || { fail "$file was not made"; continue; }
        expect "$(basename "$file") differs between two runs" same_file "$file" "${file/#$DIST_DIR/$CHECK_DIR/again}"
    done
    # An unsigned build says so, in one line.
    [ "$(grep -c unsigned "$(dist_log "$DIST_DIR")")" = 1 ] || fail "make-dist.sh did not say once that it signed nothing"
    expect "the unsigned program carries a signature" not has_signature "$WIN_DIR/tilerack.exe"
    expect "the unsigned installer carries a signature" not has_signature "$SETUP"
    # The installer of the next version, for the updates below.
    expect "the next installer was not made" make_dist "$CHECK_DIR/next" "$NEXT_VERSION"
}

check_checksums() {
    [ -f "$DIST_DIR/SHA256SUMS" ] || { fail "no SHA256SUMS"; return; }
    sed 's/^/  /' "$DIST_DIR/SHA256SUMS"
    local listed
    listed=$(awk '{ print $2 }' "$DIST_DIR/SHA256SUMS" | LC_ALL=C sort | tr '\n' ' ')
    [ "$listed" = "tilerack-$VERSION-setup.exe tilerack-$VERSION-win64.zip " ] || fail "SHA256SUMS lists: $listed"
    (cd "$DIST_DIR" && sha256sum --quiet -c SHA256SUMS) || fail "sha256sum -c SHA256SUMS failed"
}

# The sizes the README gives are the built files' sizes, in bytes and in
# KB (1024 bytes, rounded).
check_readme_sizes() {
    local file size grouped row want
    for file in "$ZIP" "$SETUP"; do
        [ -f "$file" ] || { fail "$file was not made"; continue; }
        size=$(stat -c %s "$file")
        grouped=$(awk -v n="$size" 'BEGIN {
            s = sprintf("%d", n); out = ""
            while (length(s) > 3) { out = "," substr(s, length(s) - 2) out; s = substr(s, 1, length(s) - 3) }
            print s out }')
        want=$(printf '| `%s` | %s bytes (%d KB) |' "$(basename "$file")" "$grouped" $(((size + 512) / 1024)))
        row=$(grep -F "| \`$(basename "$file")\` |" "$ROOT/README.md")
        [ "$row" = "$want" ] || fail "the README says '${row:-nothing}' for $(basename "$file"); the built file: '$want'"
    done
    grep -qF "| download (version $VERSION) | size |" "$ROOT/README.md" || fail "the README's size table is not of version $VERSION"
}

check_winget_manifest() {
    local faults
    faults=$(python3 "$ROOT/tests/dist/check_winget_manifest.py" "$DIST_DIR/winget" "$VERSION" "$SETUP") ||
        fail "the manifest of $VERSION: $faults"
    faults=$(python3 "$ROOT/tests/dist/check_winget_manifest.py" "$SIGNED_DIR/winget" "$LATER_VERSION" \
        "$LATER_SETUP" "$TEST_RELEASE_URL") || fail "the signed build's manifest: $faults"
}

has_signature() {
    rm -f "$CHECK_DIR/signature.der"
    osslsigncode extract-signature -in "$1" -out "$CHECK_DIR/signature.der" >/dev/null 2>&1
}

# signature_of FILE [CA_CERT]: osslsigncode verifies FILE's signature
# (against CA_CERT, by default the throwaway certificate) and finds it an
# Authenticode SHA-256 signature by that certificate.
signature_of() {
    local report
    report=$(osslsigncode verify -CAfile "${2:-$CERT_DIR/cert.pem}" -in "$1" 2>&1) || return 1
    grep -q 'Signature verification: ok' <<<"$report" &&
        grep -Eq 'Message digest algorithm *: *SHA256' <<<"$report" &&
        grep -q 'Subject: /CN=tilerack throwaway signing' <<<"$report"
}

# make_throwaway_certificate FOLDER NAME [USAGE]: a certificate for this
# run alone, made here, trusted nowhere; for code signing unless USAGE says.
make_throwaway_certificate() {
    local folder=$1 name=$2 usage=${3:-codeSigning}
    rm -rf "$folder"
    mkdir -p "$folder"
    openssl rand -hex 16 >"$folder/password" &&
        openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=$name" \
            -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=$usage" \
            -keyout "$folder/key.pem" -out "$folder/cert.pem" >/dev/null 2>&1 &&
        openssl pkcs12 -export -inkey "$folder/key.pem" -in "$folder/cert.pem" \
            -passout "file:$folder/password" -out "$folder/cert.pfx" >/dev/null 2>&1
}

# Without a time-stamp server only when that is said to be meant.
make_signed_dist() {
    TILERACK_SIGN_NO_TIMESTAMP=1 TILERACK_SIGN_PFX=$CERT_DIR/cert.pfx TILERACK_SIGN_PASSWORD_FILE=$CERT_DIR/password \
        TILERACK_RELEASE_URL=$TEST_RELEASE_URL "$ROOT/scripts/make-dist.sh" "$WIN_DIR" "$1" "$LATER_VERSION" >"$(dist_log "$1")" 2>&1
}

# time_stamped FILE: its signature by the throwaway certificate carries a
# valid time stamp of the throwaway time-stamp server.
time_stamped() {
    local report
    report=$(osslsigncode verify -CAfile "$CERT_DIR/cert.pem" -TSA-CAfile "$CHECK_DIR/tsa/cert.pem" -in "$1" 2>&1) || return 1
    grep -q 'Timestamp Server Signature verification: ok' <<<"$report" &&
        grep -q '/CN=tilerack throwaway time stamps' <<<"$report" &&
        grep -q 'Signature verification: ok' <<<"$report"
}

# With TILERACK_SIGN_TIMESTAMP_URL the signatures carry a time stamp of that
# server (here a throwaway one on this machine, tests/dist/throwaway_tsa.py).
check_time_stamped_build() {
    local folder=$CHECK_DIR/stamped port_file=$CHECK_DIR/tsa/port
    [ -f "$CERT_DIR/cert.pfx" ] || { fail "no throwaway signing certificate"; return; }
    make_throwaway_certificate "$CHECK_DIR/tsa" "tilerack throwaway time stamps" "critical,timeStamping" ||
        { fail "openssl made no time-stamping certificate"; return; }
    python3 "$ROOT/tests/dist/throwaway_tsa.py" "$CHECK_DIR/tsa/cert.pem" "$CHECK_DIR/tsa/key.pem" "$CHECK_DIR/tsa" \
        >"$port_file" 2>"$CHECK_DIR/tsa.log" &
    TSA_PID=$!
    if wait_until 30 test -s "$port_file"; then
        rm -rf "$folder"
        TILERACK_SIGN_TIMESTAMP_URL=http://127.0.0.1:$(head -n1 "$port_file")/ make_signed_dist "$folder" ||
            fail "the time-stamped make-dist.sh failed: $(cat "$(dist_log "$folder")")"
    else
        fail "the time-stamp server did not start: $(cat "$CHECK_DIR/tsa.log")"
    fi
    kill "$TSA_PID" 2>/dev/null
    wait "$TSA_PID" 2>/dev/null
    TSA_PID=""
    unzip -p "$folder/tilerack-$LATER_VERSION-win64.zip" "tilerack-$LATER_VERSION/tilerack.exe" >"$folder/tilerack.exe"
    expect "the zip's tilerack.exe carries no valid time stamp" time_stamped "$folder/tilerack.exe"
    expect "the installer carries no valid time stamp" time_stamped "$folder/tilerack-$LATER_VERSION-setup.exe"
    expect "the build signed without a time-stamp server carries a time stamp" not time_stamped "$LATER_SETUP"
}

check_signed_build() {
    rm -rf "$SIGNED_DIR" "$SIGNED_DIR-again"
    make_throwaway_certificate "$CERT_DIR" "tilerack throwaway signing" || { fail "openssl made no certificate"; return; }
    if env -u TILERACK_SIGN_TIMESTAMP_URL -u TILERACK_SIGN_NO_TIMESTAMP TILERACK_SIGN_PFX=$CERT_DIR/cert.pfx \
        TILERACK_SIGN_PASSWORD_FILE=$CERT_DIR/password "$ROOT/scripts/make-dist.sh" "$WIN_DIR" "$CHECK_DIR/no-stamp" \
        >"$CHECK_DIR/no-stamp.log" 2>&1 || ! grep -q TILERACK_SIGN_NO_TIMESTAMP "$CHECK_DIR/no-stamp.log"; then
        fail "make-dist.sh signed without a time-stamp server unasked"
    fi
    make_signed_dist "$SIGNED_DIR" || { fail "the signed make-dist.sh failed: $(cat "$(dist_log "$SIGNED_DIR")")"; return; }
    grep -q "WITHOUT A TIME STAMP" "$(dist_log "$SIGNED_DIR")" || fail "make-dist.sh did not warn of signing without a time stamp"
    grep -q "^make-dist: signed" "$(dist_log "$SIGNED_DIR")" || fail "make-dist.sh did not say it signed"
    ! grep -q unsigned "$(dist_log "$SIGNED_DIR")" || fail "the signed build says it is unsigned"
    unzip -p "$SIGNED_DIR/tilerack-$LATER_VERSION-win64.zip" "tilerack-$LATER_VERSION/tilerack.exe" >"$SIGNED_EXE"
    expect "the signed zip's tilerack.exe has no valid signature by the throwaway certificate" signature_of "$SIGNED_EXE"
    expect "the signed installer has no valid signature by the throwaway certificate" signature_of "$LATER_SETUP"
    expect "has_signature finds no signature in the signed installer" has_signature "$LATER_SETUP"
    # Verification fails where it should: against another certificate.
    make_throwaway_certificate "$CHECK_DIR/other-cert" "tilerack other signing" || { fail "openssl made no second certificate"; return; }
    expect "the signature verifies against a certificate that did not make it" \
        not signature_of "$LATER_SETUP" "$CHECK_DIR/other-cert/cert.pem"
    # Without a time stamp, the same certificate gives the same bytes.
    make_signed_dist "$SIGNED_DIR-again" || { fail "the second signed make-dist.sh failed"; return; }
    local file
    for file in "$LATER_SETUP" "$SIGNED_DIR/tilerack-$LATER_VERSION-win64.zip"; do
        expect "the signed $(basename "$file") differs between two runs" same_file "$file" "$SIGNED_DIR-again/$(basename "$file")"
    done
}

check_zip_contents() {
    local listing expected
    listing=$(unzip -Z1 "$ZIP" 2>/dev/null | LC_ALL=C sort)
    expected=$(printf "tilerack-$VERSION/%s\n" LICENSE-tango.txt LICENSE.txt README.md icons.dat tilerack.exe | LC_ALL=C sort)
    [ "$listing" = "$expected" ] || fail "the zip holds: $(tr '\n' ' ' <<<"$listing")"
    unzip -p "$ZIP" "tilerack-$VERSION/tilerack.exe" | cmp -s - "$WIN_DIR/tilerack.exe" || fail "the zip's program is not the built one"
    unzip -p "$ZIP" "tilerack-$VERSION/icons.dat" | cmp -s - "$WIN_DIR/icons.dat" || fail "the zip's icons.dat is not the built one"
    unzip -p "$ZIP" "tilerack-$VERSION/LICENSE.txt" | grep -q 'Copyright (c) 2026 the tilerack contributors' ||
        fail "the zip's LICENSE.txt has no copyright line of the tilerack contributors"
    unzip -p "$ZIP" "tilerack-$VERSION/LICENSE.txt" | grep -q '^MIT License' || fail "LICENSE.txt is not the MIT licence"
    unzip -p "$ZIP" "tilerack-$VERSION/LICENSE-tango.txt" | grep -q 'Tango' || fail "the zip has no Tango licence"
}

check_version_resource() {
    local info
    info=$(driver version-info "$(winpath "$WIN_DIR/tilerack.exe")" | tr -d '\r') || { fail "no version resource read"; return; }
    echo "$info" | sed 's/^/  /'
    grep -qx "ProductName=tilerack" <<<"$info" || fail "ProductName is not tilerack"
    grep -qx "ProductVersion=$VERSION" <<<"$info" || fail "ProductVersion is not $VERSION"
    grep -qx "FileVersion=$VERSION" <<<"$info" || fail "FileVersion is not $VERSION"
    grep -qx "FixedFileVersion=$VERSION.0" <<<"$info" || fail "the fixed file version is not $VERSION.0"
    grep -qx "FixedProductVersion=$VERSION.0" <<<"$info" || fail "the fixed product version is not $VERSION.0"
    grep -q "^FileDescription=." <<<"$info" || fail "no FileDescription"
    grep -qx "LegalCopyright=Copyright (c) 2026 the tilerack contributors" <<<"$info" || fail "LegalCopyright is not the project's"
    # The installer carries the same version.
    info=$(driver version-info "$(winpath "$SETUP")" | tr -d '\r') || { fail "no version resource in the installer"; return; }
    grep -qx "ProductVersion=$VERSION" <<<"$info" || fail "the installer's ProductVersion is not $VERSION"
    grep -qx "ProductName=tilerack" <<<"$info" || fail "the installer's ProductName is not tilerack"
}

# The program's manifest as built into it: it asks for no elevation and
# names every Windows version it was made for (7, 8, 8.1, 10 and 11).
check_manifest() {
    local manifest id
    manifest=$(driver manifest "$(winpath "$WIN_DIR/tilerack.exe")" | tr -d '\r') || { fail "no manifest read"; return; }
    grep -Eq '<requestedExecutionLevel[^>]*level="asInvoker"' <<<"$manifest" || fail "the manifest does not ask to run asInvoker"
    grep -Eq '<requestedExecutionLevel[^>]*uiAccess="false"' <<<"$manifest" || fail "the manifest asks for uiAccess"
    for id in 35138b9a-5d96-4fbd-8e2d-a2440225f93a 4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38 \
        1f676c76-80e1-4239-95bb-83d0f6d0da78 8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a; do
        grep -qi "<supportedOS Id=\"{$id}\"" <<<"$manifest" || fail "the manifest lacks the supported system $id"
    done
}

# The program's icon in a file's resources: every size, 32 bits with alpha.
ICON_SIZES_WANTED=$(printf '%s 32\n' 16 20 24 32 40 48 64 256)
expect_icon_sizes() {
    local sizes
    sizes=$(driver icon-sizes "$(winpath "$1")" | tr -d '\r' | sort -n) || { fail "no icon read from $2"; return; }
    [ "$sizes" = "$ICON_SIZES_WANTED" ] || fail "$2's icon holds: $(tr '\n' ',' <<<"$sizes")"
}
check_icon_sizes() {
    expect_icon_sizes "$WIN_DIR/tilerack.exe" tilerack.exe
    expect_icon_sizes "$SETUP" "the installer"
}

# --- Under Wine -------------------------------------------------------------------
UNINSTALL_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\tilerack'
RUN_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'

check_zip_runs_where_unpacked() {
    local folder=$CHECK_DIR/unpacked
    rm -rf "$folder"
    mkdir -p "$folder"
    unzip -q "$ZIP" -d "$folder" || { fail "the zip does not unpack"; return; }
    local program=$folder/tilerack-$VERSION
    [ ! -e "$program/shorts.dat" ] || fail "the zip brings a shorts.dat"
    start_panel "$program/tilerack.exe" || return
    close_panel
    # Its items are kept beside it, in the unpacked folder.
    [ -f "$program/shorts.dat" ] || fail "the panel kept no shorts.dat beside itself"
    expect "icons.dat beside the unpacked program changed" same_file "$program/icons.dat" "$WIN_DIR/icons.dat"
}

# The installer's first page asks for the language, offering the display
# language's first; "ru" or "en" is chosen there.
answer_language_page() {
    local page status
    page=$(driver language-page "tilerack: язык / language" "$1" 30000 | tr -d '\r')
    status=$?
    sed 's/^/  /' <<<"$page"
    grep -qx "language English" <<<"$page" || fail "the language page does not offer English"
    grep -qx "language Русский" <<<"$page" || fail "the language page does not offer Russian"
    [ "$status" -ne 2 ] || fail "the language page does not offer the display language first"
    [ "$status" -eq 0 ] || [ "$status" -eq 2 ] || fail "no language page, or $1 not on it"
}

# Run by hand with Russian chosen, the installer talks Russian; cancelled, it
# leaves nothing.
check_installer_speaks_russian() {
    wine "$SETUP" >/dev/null 2>&1 &
    local setup_pid=$! shown
    answer_language_page ru
    shown=$(driver installer-window "tilerack $VERSION" 30000 | tr -d '\r')
    if [ -z "$shown" ]; then
        fail "the installer showed no window"
    else
        sed 's/^/  /' <<<"$shown"
        grep -qx "Установка tilerack $VERSION" <<<"$shown" || fail "the installer's title is not Russian"
        grep -qx "&Далее >" <<<"$shown" || fail "the installer has no Russian Next button"
        grep -qx "Отмена" <<<"$shown" || fail "the installer has no Russian Cancel button"
        [ -x /usr/bin/import ] && /usr/bin/import -window root "$CHECK_DIR/installer-welcome.png" 2>/dev/null
        driver cancel-installer "tilerack $VERSION" 30000 || fail "Cancel and Yes did not end the installer"
    fi
    if ! wait_until 30 not kill -0 "$setup_pid" 2>/dev/null; then
        fail "the installer is still running"
        kill "$setup_pid" 2>/dev/null
    fi
    wait "$setup_pid" 2>/dev/null
    [ ! -e "$INSTDIR" ] || fail "the cancelled installer left $INSTDIR"
    expect "the cancelled installer left an installed-apps entry" reg_key_missing "$UNINSTALL_KEY"
}

# Run by hand with English chosen, the installer talks English. Installed
# with English chosen (silently: "/LANG=en"), the panel's settings hold
# Language=en and the uninstaller speaks English; with Russian nothing is written.
check_installer_speaks_english() {
    wine "$SETUP" >/dev/null 2>&1 &
    local setup_pid=$! shown
    answer_language_page en
    shown=$(driver installer-window "tilerack $VERSION" 30000 | tr -d '\r')
    sed 's/^/  /' <<<"$shown"
    grep -qx "tilerack $VERSION Setup" <<<"$shown" || fail "the installer's title is not English"
    grep -qx "&Next >" <<<"$shown" || fail "the installer has no English Next button"
    [ -x /usr/bin/import ] && /usr/bin/import -window root "$CHECK_DIR/installer-language-en.png" 2>/dev/null
    driver cancel-installer "tilerack $VERSION" 30000 || fail "Cancel and Yes did not end the installer"
    wait_until 30 not kill -0 "$setup_pid" 2>/dev/null || kill "$setup_pid" 2>/dev/null
    wait "$setup_pid" 2>/dev/null

    rm -f "$SETTINGS"
    wine_run 120 "$SETUP" /S /LANG=ru || fail "the silent installer failed (status $?)"
    [ ! -e "$SETTINGS" ] || ! grep -q "Language" "$SETTINGS" || fail "Russian chosen wrote a Language key"
    wine_run 120 "$SETUP" /S /LANG=en || fail "the silent installer failed (status $?)"
    grep -qx "Language=en" <(tr -d '\r' <"$SETTINGS" 2>/dev/null) || fail "English chosen did not write Language=en"
    expect_reg "$UNINSTALL_KEY" Language 1033
    wine_run 120 "$INSTDIR/uninstall.exe" /S || fail "the silent uninstaller failed (status $?)"
    wait_until 30 not test -e "$INSTDIR/tilerack.exe" || fail "the uninstaller left the program"
    rm -f "$SETTINGS"
}

check_silent_install() {
    expect "the installer does not ask for the invoker's level (no administrator)" \
        grep -aq 'level="asInvoker"' "$SETUP"
    wine_run 120 "$SETUP" /S || fail "the silent installer failed (status $?)"
    local file
    for file in tilerack.exe icons.dat README.md LICENSE.txt LICENSE-tango.txt uninstall.exe; do
        [ -f "$INSTDIR/$file" ] || fail "$file is not in $INSTDIR"
    done
    expect "the installed program is not the built one" same_file "$INSTDIR/tilerack.exe" "$WIN_DIR/tilerack.exe"
    [ -f "$INSTDIR/uninstall.exe" ] && expect_icon_sizes "$INSTDIR/uninstall.exe" "the uninstaller"
    [ ! -e "$INSTDIR/shorts.dat" ] || fail "the installer brought a shorts.dat"
    expect "the silent installer started a panel" no_panel_running
    [ -f "$SHORTCUT" ] || fail "no Start menu shortcut $SHORTCUT"
    expect_reg "$RUN_KEY" tilerack "\"$WIN_INSTDIR\\tilerack.exe\""
    expect_reg "$UNINSTALL_KEY" DisplayName tilerack
    expect_reg "$UNINSTALL_KEY" DisplayVersion "$VERSION"
    expect_reg "$UNINSTALL_KEY" Publisher "the tilerack contributors"
    expect_reg "$UNINSTALL_KEY" DisplayIcon "$WIN_INSTDIR\\tilerack.exe,0"
    expect_reg "$UNINSTALL_KEY" UninstallString "\"$WIN_INSTDIR\\uninstall.exe\""
    expect_reg "$UNINSTALL_KEY" QuietUninstallString "\"$WIN_INSTDIR\\uninstall.exe\" /S"
    expect_reg "$UNINSTALL_KEY" NoModify 0x1
    expect_reg "$UNINSTALL_KEY" NoRepair 0x1
    local size
    size=$(reg_value "$UNINSTALL_KEY" EstimatedSize) || fail "no EstimatedSize"
    # The program and the icons alone take over 800 KB.
    [ -n "$size" ] && [ $((size)) -ge 800 ] || fail "EstimatedSize is '$size' KB"
}

check_installed_panel_keeps_items() {
    driver make-shorts "$WIN_INSTDIR\\shorts.dat" || { fail "cannot write the known list"; return; }
    start_panel "$INSTDIR/tilerack.exe" || return
    close_panel
    expect "the installed panel lost its items" driver check-shorts "$WIN_INSTDIR\\shorts.dat"
    [ -f "$SETTINGS" ] || fail "the panel wrote no settings ($SETTINGS)"
    cp "$INSTDIR/shorts.dat" "$CHECK_DIR/shorts.kept"
    cp "$SETTINGS" "$CHECK_DIR/settings.kept"
}

check_update_keeps_items() {
    expect "a panel runs before the update" no_panel_running
    wine_run 120 "$NEXT_SETUP" /S || fail "the next version's installer failed (status $?)"
    expect "the silent update started a panel though none was running" no_panel_running
    expect_reg "$UNINSTALL_KEY" DisplayVersion "$NEXT_VERSION"
    expect "shorts.dat changed in the update" same_file "$INSTDIR/shorts.dat" "$CHECK_DIR/shorts.kept"
    expect "the settings changed in the update" same_file "$SETTINGS" "$CHECK_DIR/settings.kept"
    expect "the program is missing after the update" same_file "$INSTDIR/tilerack.exe" "$WIN_DIR/tilerack.exe"
    [ -f "$SHORTCUT" ] || fail "the update lost the Start menu shortcut"
    expect_reg "$RUN_KEY" tilerack "\"$WIN_INSTDIR\\tilerack.exe\""
}

# An old time on the list: the panel's save as it closes renews it (a killed
# panel would leave it as it was).
mark_files_old() { touch -d '2001-01-01 00:00:00' "$INSTDIR/shorts.dat"; }
saved_since_marked() { [ "$(stat -c %Y "$1")" -gt "$(date -d '2001-01-02' +%s)" ]; }

check_update_closes_running_panel() {
    start_panel "$INSTDIR/tilerack.exe" || return
    mark_files_old
    wine_run 120 "$LATER_SETUP" /S || fail "the installer over a running panel failed (status $?)"
    panel_ended || fail "the panel still runs after the update"
    forget_panel
    expect_reg "$UNINSTALL_KEY" DisplayVersion "$LATER_VERSION"
    expect "the program was not replaced by the signed one" same_file "$INSTDIR/tilerack.exe" "$SIGNED_EXE"
    # Closed, not killed: it saved its items and settings on the way out.
    saved_since_marked "$INSTDIR/shorts.dat" || fail "the panel did not save its items as it closed"
    expect "the update over a running panel changed the settings" same_file "$SETTINGS" "$CHECK_DIR/settings.kept"
    expect "the update over a running panel lost items" driver check-shorts "$WIN_INSTDIR\\shorts.dat"
}

# The silent update closed the user's panel; it starts the new one again.
check_silent_update_restarts_panel() {
    driver wait-panel 30000 || { fail "no panel runs after the silent update over a running one"; return; }
    local programs
    programs=$(driver panel-programs | tr -d '\r')
    echo "  running: $programs"
    [ "$programs" = "$WIN_INSTDIR\tilerack.exe" ] || fail "not one panel from $WIN_INSTDIR\tilerack.exe"
    expect "the installed program is not the new one" same_file "$INSTDIR/tilerack.exe" "$SIGNED_EXE"
    # It runs with the user's items: it saves them again as it closes.
    mark_files_old
    driver close-panel 30000 || fail "the restarted panel did not close on WM_CLOSE"
    saved_since_marked "$INSTDIR/shorts.dat" || fail "the restarted panel did not save its items as it closed"
    expect "the restarted panel lost items" driver check-shorts "$WIN_INSTDIR\\shorts.dat"
    expect "the restarted panel changed the settings" same_file "$SETTINGS" "$CHECK_DIR/settings.kept"
}

# The uninstaller the signed installer wrote is the signed one.
check_installed_signatures() {
    [ -f "$INSTDIR/uninstall.exe" ] || { fail "no uninstall.exe in $INSTDIR"; return; }
    expect "the installed uninstall.exe has no valid signature by the throwaway certificate" signature_of "$INSTDIR/uninstall.exe"
    expect "the installed tilerack.exe has no valid signature by the throwaway certificate" signature_of "$INSTDIR/tilerack.exe"
}

check_update_keeps_sign_in_off() {
    wine_run 120 "$SETUP" /S || { fail "the silent installer failed (status $?)"; return; }
    expect_reg "$RUN_KEY" tilerack "\"$WIN_INSTDIR\\tilerack.exe\""
    # The user turns it off; the next version leaves it off.
    wine_run 60 reg delete "$RUN_KEY" /v tilerack /f >/dev/null 2>&1 || { fail "cannot turn the sign-in start off"; return; }
    wine_run 120 "$NEXT_SETUP" /S || fail "the next version's installer failed (status $?)"
    expect_reg "$UNINSTALL_KEY" DisplayVersion "$NEXT_VERSION"
    expect "the update turned the sign-in start back on" reg_missing "$RUN_KEY" tilerack
    expect "the silent update started a panel though none was running" no_panel_running
}

# A panel from the zip, closed by a silent update, is the one started again.
check_silent_update_restarts_portable_panel() {
    local program=$CHECK_DIR/unpacked/tilerack-$VERSION/tilerack.exe programs
    [ -f "$program" ] || { fail "no unpacked program (see the zip's scenario)"; return; }
    start_panel "$program" || return
    wine_run 120 "$NEXT_SETUP" /S || fail "the next version's installer failed (status $?)"
    panel_ended || fail "the panel from the zip still runs after the update"
    forget_panel
    driver wait-panel 30000 || { fail "no panel runs after the update closed the one from the zip"; return; }
    programs=$(driver panel-programs | tr -d '\r')
    echo "  running: $programs"
    [ "$programs" = "$(winpath "$program")" ] || fail "not one panel from $(winpath "$program")"
    driver close-panel 30000 || fail "the restarted panel did not close on WM_CLOSE"
}

uninstalled() {
    [ ! -e "$INSTDIR/tilerack.exe" ] && [ ! -e "$INSTDIR/uninstall.exe" ] && reg_key_missing "$UNINSTALL_KEY"
}

check_uninstall_keeps_items() {
    start_panel "$INSTDIR/tilerack.exe" || return
    mark_files_old
    # As the installed-apps list runs it (QuietUninstallString); the
    # uninstaller goes on from a copy of itself, so the end is polled for.
    wine_run 60 "$INSTDIR/uninstall.exe" /S || fail "the silent uninstaller failed (status $?)"
    wait_until 60 uninstalled || fail "the program or its installed-apps entry is still there after 60 s"
    wait_until 30 panel_ended || fail "the panel still runs after the uninstall"
    forget_panel
    local file
    for file in tilerack.exe icons.dat README.md LICENSE.txt LICENSE-tango.txt uninstall.exe; do
        [ ! -e "$INSTDIR/$file" ] || fail "$file is left in $INSTDIR"
    done
    [ ! -e "$SHORTCUT" ] || fail "the Start menu shortcut is left"
    expect "the sign-in start is left" reg_missing "$RUN_KEY" tilerack
    expect "the installed-apps entry is left" reg_key_missing "$UNINSTALL_KEY"
    saved_since_marked "$INSTDIR/shorts.dat" || fail "the panel did not save its items as it closed"
    expect "the uninstall lost the items" driver check-shorts "$WIN_INSTDIR\\shorts.dat"
    expect "the uninstall changed or removed the settings" same_file "$SETTINGS" "$CHECK_DIR/settings.kept"
    [ "$(ls -A "$INSTDIR")" = shorts.dat ] || fail "$INSTDIR holds: $(ls -A "$INSTDIR" | tr '\n' ' ')"
}

check_uninstall_removes_user_data_when_asked() {
    wine_run 120 "$SETUP" /S || { fail "the silent installer failed (status $?)"; return; }
    expect_reg "$RUN_KEY" tilerack "\"$WIN_INSTDIR\\tilerack.exe\""
    driver make-shorts "$WIN_INSTDIR\\shorts.dat" || { fail "cannot write the known list"; return; }
    start_panel "$INSTDIR/tilerack.exe" || return
    wine_run 60 "$INSTDIR/uninstall.exe" /S /REMOVEUSERDATA || fail "the silent uninstaller failed (status $?)"
    wait_until 60 not test -e "$INSTDIR" || fail "$INSTDIR is still there after 60 s: $(ls -A "$INSTDIR" | tr '\n' ' ')"
    wait_until 30 panel_ended || fail "the panel still runs after the uninstall"
    forget_panel
    [ ! -e "$SETTINGS" ] || fail "the settings are left: $(tr '\r\n' '  ' <"$SETTINGS")"
    [ ! -e "$SHORTCUT" ] || fail "the Start menu shortcut is left"
    expect "the sign-in start is left" reg_missing "$RUN_KEY" tilerack
    expect "the installed-apps entry is left" reg_key_missing "$UNINSTALL_KEY"
}

scenario "Downloads.TwoRunsGiveTheSameBytes" check_reproducible
scenario "Downloads.ZipHoldsTheProgramIconsReadmeAndBothLicences" check_zip_contents
scenario "Downloads.Sha256SumsListsBothDownloadsAndChecks" check_checksums
scenario "Downloads.ReadmeGivesTheBuiltSizes" check_readme_sizes
scenario "Downloads.SignedBuildVerifiesAgainstItsThrowawayCertificate" check_signed_build
scenario "Downloads.SignedWithATimeStampWhenAServerIsGiven" check_time_stamped_build
scenario "Downloads.WingetManifestNamesTheReleaseAndItsInstaller" check_winget_manifest

# A fresh prefix each run: nothing installed before.
[ -d "$WINEPREFIX" ] && wineserver -k >/dev/null 2>&1
rm -rf "$WINEPREFIX"
if ! start_private_display "$CHECK_DIR/xvfb.log"; then
    echo "dist: $passed passed, $((failed + 1)) failed"
    exit 1
fi
start_window_manager "$CHECK_DIR/openbox.log" || echo "dist-check: running on a bare X server" >&2
. "$ROOT/scripts/wine-prefix.sh"
prepare_wine_prefix "$CHECK_DIR/wineboot.log"

LOCALAPPDATA_WIN=$(wine_run 60 cmd /c echo %LOCALAPPDATA% | tr -d '\r')
APPDATA_WIN=$(wine_run 60 cmd /c echo %APPDATA% | tr -d '\r')
WIN_INSTDIR="$LOCALAPPDATA_WIN\\Programs\\tilerack"
INSTDIR=$(winepath -u "$WIN_INSTDIR" 2>/dev/null)
INSTDIR=${INSTDIR%/}
SHORTCUT=$(winepath -u "$APPDATA_WIN\\Microsoft\\Windows\\Start Menu\\Programs\\tilerack.lnk" 2>/dev/null)
SETTINGS=$WINEPREFIX/drive_c/windows/tilerack.INI
echo "dist-check: DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX install folder $WIN_INSTDIR"

scenario "Downloads.VersionResourceReadsBack" check_version_resource
scenario "Downloads.ProgramAndInstallerIconsHaveEverySize" check_icon_sizes
scenario "Downloads.ManifestRunsAsInvokerOnEverySupportedSystem" check_manifest
scenario "Zip.RunsWhereUnpackedWithItsIconsBesideIt" check_zip_runs_where_unpacked
scenario "Installer.SpeaksRussianAndLeavesNothingWhenCancelled" check_installer_speaks_russian
scenario "Installer.SpeaksEnglishWhenChosenAndWritesLanguageEn" check_installer_speaks_english
scenario "Installer.SilentInstallForTheUserWithoutAdministrator" check_silent_install
scenario "Installer.InstalledPanelKeepsItsItems" check_installed_panel_keeps_items
scenario "Installer.UpdateKeepsItemsAndSettingsByteIdentical" check_update_keeps_items
scenario "Installer.UpdateClosesTheRunningPanelFirstAndLosesNothing" check_update_closes_running_panel
scenario "Installer.SilentUpdateStartsTheClosedPanelAgainFromTheNewFiles" check_silent_update_restarts_panel
scenario "Installer.SignedInstallerWroteASignedUninstaller" check_installed_signatures
scenario "Uninstaller.SilentRemovesProgramShortcutSignInAndEntryButKeepsItems" check_uninstall_keeps_items
scenario "Uninstaller.RemovesItemsAndSettingsOnlyWhenAsked" check_uninstall_removes_user_data_when_asked
scenario "Installer.UpdateKeepsTheSignInStartTurnedOff" check_update_keeps_sign_in_off
scenario "Installer.SilentUpdateStartsAClosedPanelFromTheZipInItsOwnFolder" check_silent_update_restarts_portable_panel

echo "dist: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
