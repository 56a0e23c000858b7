#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from a build folder, checks its metadata and contents, runs
# lintian (no error, no warning), validates the desktop entry and the AppStream metadata,
# unpacks it into a scratch root and runs the installed tools from there.
set -euo pipefail
build=${1:?usage: check-package.sh BUILD_DIR}
cd "$build"
rm -f equat_*.deb
cpack -G DEB >/dev/null
deb=$(ls equat_*.deb)
info=$(dpkg-deb --info "$deb")
contents=$(dpkg-deb --contents "$deb")
fail() { echo "package: $*" >&2; exit 1; }

grep -q '^ Package: equat$' <<<"$info" || fail "no package name"
for dep in fonts-liberation libqt6widgets6 libqt6printsupport6 libqt6svg6 cups-client \
           qt6-translations-l10n; do
  grep -q "Depends:.*$dep" <<<"$info" || fail "missing dependency $dep"
done
for rec in fonts-sil-andika fonts-opendyslexic; do
  grep -q "Recommends:.*$rec" <<<"$info" || fail "missing recommendation $rec"
done
for f in usr/bin/equat usr/bin/equat-sheet usr/bin/equat-rtf usr/share/applications/equat.desktop \
         usr/share/icons/hicolor/scalable/apps/equat.svg usr/share/icons/hicolor/32x32/apps/equat.png \
         usr/share/doc/equat/copyright usr/share/doc/equat/changelog.gz \
         usr/share/metainfo/org.example.equat.metainfo.xml usr/share/man/man1/equat.1.gz \
         usr/share/man/man1/equat-sheet.1.gz usr/share/man/man1/equat-rtf.1.gz \
         usr/share/man/fr/man1/equat-sheet.1.gz usr/share/man/fr/man1/equat-rtf.1.gz; do
  grep -q "\./$f\$" <<<"$contents" || fail "missing $f"
done

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/equat.desktop"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml >/dev/null ||
  fail "appstreamcli rejects the metainfo: $(appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml)"
version=$(dpkg-deb --field "$deb" Version)
changelog=$(zcat "$root/usr/share/doc/equat/changelog.gz" | head -1)
[[ $changelog == "equat ($version) "* ]] || fail "the changelog's first entry is not $version: $changelog"
# Errors and warnings fail; informational tags do not. Overrides travel in the package.
tags=$(lintian --fail-on error,warning "$deb" 2>&1) || fail "lintian:"$'\n'"$tags"
"$root/usr/bin/equat-sheet" --version | grep -q '^equat-sheet [0-9]' || fail "equat-sheet --version"
"$root/usr/bin/equat-sheet" --kind 1d --seed 3 --output "$root/f.rtf" >/dev/null
[[ -s $root/f.rtf && -s $root/f_Cor.rtf ]] || fail "the installed equat-sheet wrote nothing"
"$root/usr/bin/equat-rtf" --help >/dev/null || fail "equat-rtf --help"
echo "package: $deb checked"
