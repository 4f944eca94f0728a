#!/bin/sh
# The Debian package as a packager and a user meet it: lintian finds no error, the desktop entry,
# the AppStream metainfo and the man pages pass their validators, every file is where the desktop
# looks for it, and the programs unpacked with dpkg -x run a Build of a small league.
# Usage: deb_test.sh PACKAGE.deb TOVARIN-EXAMPLE SCRATCH-DIR
set -eu
deb=$1 example=$2 scratch=$3
fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$scratch"
mkdir -p "$scratch"
root="$scratch/root"
dpkg -x "$deb" "$root"
version=$(dpkg-deb -f "$deb" Version)
id=com.didozuza.Tovarin

for file in usr/bin/tovarin usr/bin/tovarin-cli usr/share/applications/$id.desktop \
            usr/share/metainfo/$id.metainfo.xml usr/share/man/man1/tovarin.1.gz \
            usr/share/man/man1/tovarin-cli.1.gz usr/share/doc/tovarin/copyright \
            usr/share/icons/hicolor/48x48/apps/$id.png usr/share/icons/hicolor/128x128/apps/$id.png \
            usr/share/icons/hicolor/256x256/apps/$id.png; do
  [ -f "$root/$file" ] || fail "/$file is not in the package"
done
dpkg-deb -f "$deb" Depends | grep -q 'libc6' || fail "no Depends from dpkg-shlibdeps"

out=$(desktop-file-validate "$root/usr/share/applications/$id.desktop" 2>&1) ||
  fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate: $out"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" >"$scratch/as.txt" 2>&1 ||
  fail "appstreamcli validate: $(cat "$scratch/as.txt")"
grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/$id.metainfo.xml" ||
  fail "the metainfo has no release $version"
lintian --fail-on error "$deb" >"$scratch/lintian.txt" 2>&1 ||
  fail "lintian: $(cat "$scratch/lintian.txt")"
for page in tovarin tovarin-cli; do
  warnings=$(zcat "$root/usr/share/man/man1/$page.1.gz" | LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z 2>&1)
  [ -z "$warnings" ] || fail "$page.1: $warnings"
  zgrep -q "Tovarin $version" "$root/usr/share/man/man1/$page.1.gz" || fail "$page.1 is not of $version"
done

# The programs from the unpacked root: their own versions, and a Build.
[ "$("$root/usr/bin/tovarin-cli" --version)" = "tovarin-cli (Tovarin) $version" ] ||
  fail "tovarin-cli --version: $("$root/usr/bin/tovarin-cli" --version)"
"$root/usr/bin/tovarin" --version | grep -qF "$version" || fail "tovarin --version"
export XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data"
league="$scratch/league"
"$example" "$league" >/dev/null
"$root/usr/bin/tovarin-cli" build --target "$league/2026.WDD/ORG00001" \
  --source "$league/2025.WDD/ORG00001" --rename "$league/renames.txt" --yes --summary \
  >"$scratch/build.txt" || fail "build exited $?: $(cat "$scratch/build.txt")"
[ -s "$league/2026.WDD/Tovarin.txt" ] || fail "the Build wrote no report"
echo "package $deb: ok"
