#!/usr/bin/env python3
"""Checks the winget manifest make-dist.sh wrote for one release.

Usage: check_winget_manifest.py WINGET_DIR VERSION SETUP_EXE [RELEASE_URL]

Every file must parse as YAML and name the same package, VERSION and a
schema of 1.6.0 or newer; the installer file must carry SETUP_EXE's real
SHA-256 and, when RELEASE_URL is given, the address RELEASE_URL/SETUP_EXE's
name. Prints one line a fault; exit status 1 on any.
"""
import hashlib
import os
import sys

import yaml

PUBLISHER = "the tilerack contributors"
KINDS = {
    "version": "{id}.yaml",
    "defaultLocale": "{id}.locale.ru-RU.yaml",
    "locale": "{id}.locale.en-US.yaml",
    "installer": "{id}.installer.yaml",
}


def schema_at_least(version, least=(1, 6, 0)):
    try:
        return tuple(int(part) for part in str(version).split(".")) >= least
    except ValueError:
        return False


def check(folder, version, setup, release_url):
    faults = []
    names = sorted(name for name in os.listdir(folder) if name.endswith(".yaml"))
    ids = {name.split(".locale.")[0].split(".installer.")[0].removesuffix(".yaml") for name in names}
    if len(ids) != 1:
        return [f"the manifest files name {len(ids)} packages: {names}"]
    package = ids.pop()
    manifests = {}
    for kind, pattern in KINDS.items():
        name = pattern.format(id=package)
        path = os.path.join(folder, name)
        try:
            with open(path, encoding="utf-8") as file:
                manifests[kind] = yaml.safe_load(file)
        except (OSError, yaml.YAMLError) as error:
            faults.append(f"{name}: {error}")
            continue
        data = manifests[kind]
        if not isinstance(data, dict):
            faults.append(f"{name} is not a mapping")
            manifests.pop(kind)
            continue
        if data.get("ManifestType") != kind:
            faults.append(f"{name}: ManifestType is {data.get('ManifestType')!r}, not {kind!r}")
        if data.get("PackageIdentifier") != package:
            faults.append(f"{name}: PackageIdentifier is {data.get('PackageIdentifier')!r}")
        if data.get("PackageVersion") != version:
            faults.append(f"{name}: PackageVersion is {data.get('PackageVersion')!r}, not {version!r}")
        if not schema_at_least(data.get("ManifestVersion")):
            faults.append(f"{name}: ManifestVersion {data.get('ManifestVersion')!r} is older than 1.6.0")
    if len({str(data.get("ManifestVersion")) for data in manifests.values()}) > 1:
        faults.append("the files are of different schema versions")

    if "version" in manifests and manifests["version"].get("DefaultLocale") != "ru-RU":
        faults.append(f"DefaultLocale is {manifests['version'].get('DefaultLocale')!r}, not 'ru-RU'")
    for kind, locale in (("defaultLocale", "ru-RU"), ("locale", "en-US")):
        data = manifests.get(kind)
        if data is None:
            continue
        if data.get("PackageLocale") != locale:
            faults.append(f"{kind}: PackageLocale is {data.get('PackageLocale')!r}, not {locale!r}")
        if data.get("Publisher") != PUBLISHER:
            faults.append(f"{kind}: Publisher is {data.get('Publisher')!r}")
        if data.get("License") != "MIT":
            faults.append(f"{kind}: License is {data.get('License')!r}, not 'MIT'")
        description = str(data.get("ShortDescription") or "")
        cyrillic = any("\u0400" <= char <= "\u04ff" for char in description)
        if not description or cyrillic != (locale == "ru-RU"):
            faults.append(f"{kind}: ShortDescription {description!r} is not in {locale}")

    installer = manifests.get("installer")
    if installer is not None:
        for key, want in (("InstallerType", "nullsoft"), ("Scope", "user")):
            if installer.get(key) != want:
                faults.append(f"installer: {key} is {installer.get(key)!r}, not {want!r}")
        switches = installer.get("InstallerSwitches") or {}
        for key in ("Silent", "SilentWithProgress"):
            if switches.get(key) != "/S":
                faults.append(f"installer: the {key} switch is {switches.get(key)!r}, not '/S'")
        entries = installer.get("Installers") or []
        if len(entries) != 1:
            faults.append(f"installer: {len(entries)} installers, not 1")
        with open(setup, "rb") as file:
            real = hashlib.sha256(file.read()).hexdigest()
        setup_name = os.path.basename(setup)
        for entry in entries:
            if str(entry.get("InstallerSha256", "")).lower() != real:
                faults.append(f"installer: InstallerSha256 {entry.get('InstallerSha256')} is not {setup_name}'s {real}")
            url = str(entry.get("InstallerUrl", ""))
            if not url.startswith("https://") or not url.endswith("/" + setup_name):
                faults.append(f"installer: InstallerUrl {url!r} is no https address of {setup_name}")
            if release_url and url != release_url.rstrip("/") + "/" + setup_name:
                faults.append(f"installer: InstallerUrl {url!r} is not under {release_url!r}")
            if entry.get("Architecture") != "x64":
                faults.append(f"installer: Architecture is {entry.get('Architecture')!r}, not 'x64'")
    return faults


def main():
    if len(sys.argv) not in (4, 5):
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    faults = check(sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4] if len(sys.argv) == 5 else "")
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
