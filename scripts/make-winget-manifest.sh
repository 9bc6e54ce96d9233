#!/usr/bin/env bash
# Writes the Windows package manager's (winget) manifest of one release into
# OUT_DIR/winget/: the version file, the default locale (ru-RU), an en-US
# locale and the installer file, in the multi-file form the winget-pkgs
# repository takes (manifests/t/tilerack/tilerack/VERSION/ there).
# The installer's address is TILERACK_RELEASE_URL (the folder the release's
# downloads are published in) followed by the installer's name; the
# installer's SHA-256 and the release date (SOURCE_DATE_EPOCH) come from the
# built download, so the same installer gives the same manifest.
#
# Usage: make-winget-manifest.sh SETUP_EXE VERSION OUT_DIR
set -euo pipefail

if [ $# -ne 3 ] || [ ! -f "$1" ]; then
    echo "usage: $0 SETUP_EXE VERSION OUT_DIR" >&2
    exit 2
fi
SETUP=$1
VERSION=$2
DIR=$3/winget
SCHEMA=1.12.0
ID=tilerack.tilerack
PUBLISHER="the tilerack contributors"
RELEASE_URL=${TILERACK_RELEASE_URL:-https://example.org/tilerack/releases/download/v$VERSION}
RELEASE_URL=${RELEASE_URL%/}
SHA256=$(sha256sum "$SETUP" | cut -d' ' -f1 | tr a-f A-F)
RELEASE_DATE=$(date -u -d "@${SOURCE_DATE_EPOCH:-$(stat -c %Y "$SETUP")}" +%F)

mkdir -p "$DIR"
rm -f "$DIR"/*.yaml

# header MANIFEST_KIND: the comment that lets editors check the file.
header() { printf '# yaml-language-server: $schema=https://aka.ms/winget-manifest.%s.%s.schema.json\n\n' "$1" "$SCHEMA"; }

{
    header version
    cat <<EOF
PackageIdentifier: $ID
PackageVersion: $VERSION
DefaultLocale: ru-RU
ManifestType: version
ManifestVersion: $SCHEMA
EOF
} >"$DIR/$ID.yaml"

{
    header defaultLocale
    cat <<EOF
PackageIdentifier: $ID
PackageVersion: $VERSION
PackageLocale: ru-RU
Publisher: $PUBLISHER
PackageName: tilerack
License: MIT
Copyright: Copyright (c) 2026 $PUBLISHER
ShortDescription: Панель быстрого запуска у края экрана
Description: >-
  Узкая панель у левого или правого края экрана со столбцом кнопок-значков:
  программы, документы и папки запускаются одним щелчком. Панель прячется за
  край экрана, когда не нужна, и возвращается, когда указатель подходит к краю.
Moniker: tilerack
Tags:
- launcher
- panel
ManifestType: defaultLocale
ManifestVersion: $SCHEMA
EOF
} >"$DIR/$ID.locale.ru-RU.yaml"

{
    header locale
    cat <<EOF
PackageIdentifier: $ID
PackageVersion: $VERSION
PackageLocale: en-US
Publisher: $PUBLISHER
PackageName: tilerack
License: MIT
ShortDescription: A quick-launch panel at the screen edge
Description: >-
  A narrow panel docked to the left or right screen edge with a column of icon
  buttons that start programs, documents and folders with one click. It slides
  off the screen when not needed and comes back when the pointer rests at the
  edge. Its interface is in Russian.
Tags:
- launcher
- panel
ManifestType: locale
ManifestVersion: $SCHEMA
EOF
} >"$DIR/$ID.locale.en-US.yaml"

{
    header installer
    cat <<EOF
PackageIdentifier: $ID
PackageVersion: $VERSION
InstallerLocale: ru-RU
InstallerType: nullsoft
Scope: user
InstallModes:
- interactive
- silent
- silentWithProgress
InstallerSwitches:
  Silent: /S
  SilentWithProgress: /S
UpgradeBehavior: install
ProductCode: tilerack
ReleaseDate: $RELEASE_DATE
Installers:
- Architecture: x64
  InstallerUrl: $RELEASE_URL/$(basename "$SETUP")
  InstallerSha256: $SHA256
ManifestType: installer
ManifestVersion: $SCHEMA
EOF
} >"$DIR/$ID.installer.yaml"
