#!/bin/sh
# The installer under Wine, as a user without administrator rights meets it, in a Wine prefix of
# its own: a silent install puts the programs into %LOCALAPPDATA%\Programs\Tovarin with a
# Start-menu entry and an uninstall key under HKCU, and the installed tovarin-cli.exe runs;
# neither installer nor uninstaller touches a running Tovarin; an install elsewhere replaces the
# earlier one; a silent uninstall removes them all and keeps the user's settings and backups.
# Usage: installer_test.sh SETUP.EXE VERSION SCRATCH-DIR
set -eu
setup=$1 version=$2 scratch=$3
fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$scratch"
mkdir -p "$scratch"
export WINEPREFIX="$scratch/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null || true' EXIT
wineboot --init >/dev/null 2>&1
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tovarin'
folder() { winepath -u "$(wine cmd /c echo "%$1%" | tr -d '\r')" 2>/dev/null | sed 's:/$::'; }
local=$(folder LOCALAPPDATA)
programs="$local/Programs/Tovarin"
link="$(folder APPDATA)/Microsoft/Windows/Start Menu/Programs/Tovarin.lnk"
data="$local/Didozuza/Tovarin"

# What the user already has, which the uninstaller must leave: settings and a backup.
wine reg add 'HKCU\Software\Didozuza\Tovarin\File' /v BaseDir /d 'C:\Sim\' /f >/dev/null
mkdir -p "$data/backups/000001-20261209T015600Z_LEAGUE.WDD_ORG00001"

wine "$setup" /S
wineserver -w
for file in tovarin.exe tovarin-cli.exe help.html README.txt LICENSE.txt Uninstall.exe; do
  [ -f "$programs/$file" ] || fail "$file is not in $programs"
done
[ -f "$link" ] || fail "no Start-menu entry $link"
wine reg query "$key" /v DisplayVersion | tr -d '\r' | grep -q "REG_SZ *$version\$" ||
  fail "no uninstall key $key with DisplayVersion $version"
wine reg query "$key" /v UninstallString | grep -q 'Uninstall.exe' || fail "no UninstallString"
out=$(wine "$programs/tovarin-cli.exe" --version | tr -d '\r')
[ "$out" = "tovarin-cli (Tovarin) $version" ] || fail "installed tovarin-cli --version: $out"

# While Tovarin runs, neither the installer nor the uninstaller (run in place, so that its exit
# status is its own) changes anything, and both say so with exit status 2.
winprograms=$(winepath -w "$programs")
stamp=$(ls -l --time-style=+%s.%N "$programs")
wine "$programs/tovarin.exe" >/dev/null 2>&1 &
tries=0
until winedbg --command 'info process' 2>/dev/null | grep -q "'tovarin.exe'"; do
  tries=$((tries + 1))
  [ $tries -lt 60 ] || fail "tovarin.exe did not start (is there a display?)"
  sleep 1
done
sleep 2  # its mark is made first thing, but give it a moment
status=0; wine "$setup" /S || status=$?
[ $status -eq 2 ] || fail "the installer gave exit status $status while Tovarin runs"
status=0; wine "$programs/Uninstall.exe" /S "_?=$winprograms" || status=$?
[ $status -eq 2 ] || fail "the uninstaller gave exit status $status while Tovarin runs"
[ "$(ls -l --time-style=+%s.%N "$programs")" = "$stamp" ] ||
  fail "the programs were changed while Tovarin runs: $(ls -A "$programs")"
wine reg query "$key" /v UninstallString >/dev/null 2>&1 ||
  fail "the uninstall key went while Tovarin runs"
wine taskkill /f /im tovarin.exe >/dev/null 2>&1 || true
wait

# An install elsewhere (/D) over this one removes it first: one copy, one entry.
elsewhere="$local/Elsewhere/Tovarin"
wine "$setup" /S "/D=$(winepath -w "$local")\Elsewhere\Tovarin"
wineserver -w
[ ! -e "$programs" ] || fail "the earlier install is still in $programs: $(ls -A "$programs")"
[ -f "$elsewhere/tovarin.exe" ] || fail "no tovarin.exe in $elsewhere"
wine reg query "$key" /v InstallLocation | tr -d '\r' | grep -q 'Elsewhere\\Tovarin$' ||
  fail "the uninstall key does not name $elsewhere"
programs=$elsewhere

# The uninstaller copies itself elsewhere and runs from there: wineserver -w waits for it.
wine "$programs/Uninstall.exe" /S
wineserver -w
[ ! -e "$programs" ] || fail "$programs is still there: $(ls -A "$programs")"
[ ! -e "$link" ] || fail "the Start-menu entry is still there"
! wine reg query "$key" >/dev/null 2>&1 || fail "the uninstall key is still there"
wine reg query 'HKCU\Software\Didozuza\Tovarin\File' /v BaseDir >/dev/null 2>&1 ||
  fail "the uninstaller removed the settings"
[ -d "$data/backups/000001-20261209T015600Z_LEAGUE.WDD_ORG00001" ] ||
  fail "the uninstaller removed the backups"
echo "installer $setup: ok"
