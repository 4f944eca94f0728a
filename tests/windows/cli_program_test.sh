#!/bin/sh
# tovarin-cli.exe under Wine, as a Windows user or script meets it: its exit statuses, a Build in a
# folder with a non-ASCII letter, paths printed with "\", and the setup it stores in the registry,
# read from outside the program with `reg query`.
# Usage: cli_program_test.sh TOVARIN-CLI.EXE TOVARIN-EXAMPLE.EXE SCRATCH-DIR
# (WINEPREFIX names the prefix; the test writes HKCU\Software\Didozuza\Tovarin there.)
set -eu
cli=$1 example=$2 scratch=$3
fail() { echo "FAIL: $*" >&2; exit 1; }
windows() { printf 'Z:%s' "$1" | tr / '\\'; }  # Wine's Z: drive is the Linux root

rm -rf "$scratch"
mkdir -p "$scratch"
wine "$cli" --help >/dev/null || fail "--help did not exit 0"
status=0
wine "$cli" --bogus 2>/dev/null || status=$?
[ "$status" -eq 2 ] || fail "--bogus exited $status, not 2"

league="$scratch/Ligue Québec"
wine "$example" "$(windows "$league")" >/dev/null
base=$(windows "$league")
target="$base\\2026.WDD\\ORG00001" source="$base\\2025.WDD\\ORG00001"

wine "$cli" settings --target "$target" --source "$source" --rename "$base\\renames.txt" \
  --no-farm >/dev/null || fail "settings exited $?"
# reg prints in the console's OEM code page (437 under Wine).
wine reg query 'HKCU\Software\Didozuza\Tovarin' /s | tr -d '\r' | iconv -f CP437 -t UTF-8 \
  >"$scratch/reg.txt"
while IFS='|' read -r name type value; do
  grep -qxF "    $name    $type    $value" "$scratch/reg.txt" ||
    fail "registry value $name: expected $type $value, found:
$(cat "$scratch/reg.txt")"
done <<EXPECTED
BaseDir|REG_SZ|$base\\
TgtDataDisk|REG_SZ|2026.WDD
TgtOrg|REG_SZ|ORG00001
SrcDataDisk|REG_SZ|2025.WDD
SrcOrg|REG_SZ|ORG00001
Rename|REG_SZ|$base\\renames.txt
UseFarm|REG_DWORD|0x0
ThreeLetters|REG_DWORD|0x1
SmartInitials|REG_DWORD|0x1
EXPECTED
grep -qx 'HKEY_CURRENT_USER\\Software\\Didozuza\\Tovarin\\File' "$scratch/reg.txt" ||
  fail "no subkey File"
grep -qx 'HKEY_CURRENT_USER\\Software\\Didozuza\\Tovarin\\Option' "$scratch/reg.txt" ||
  fail "no subkey Option"

# The Build on that stored setup, its summary naming the report with "\", in UTF-8.
wine "$cli" build --summary </dev/null >"$scratch/build.txt" || fail "build exited $?"
report="Report: $base\\2026.WDD\\Tovarin.txt"
tr -d '\r' <"$scratch/build.txt" | grep -qxF "$report" ||
  fail "expected '$report' in: $(cat "$scratch/build.txt")"
[ -s "$league/2026.WDD/Tovarin.txt" ] || fail "no report written"

# A stored value of another type is no setup to build on: settings says which and why (status
# 1), build refuses it (status 2) and writes nothing, never at C:\.
rm "$league/2026.WDD/Tovarin.txt"
file_key='HKCU\Software\Didozuza\Tovarin\File' option_key='HKCU\Software\Didozuza\Tovarin\Option'
for type in REG_DWORD REG_MULTI_SZ; do
  wine reg add "$file_key" /v BaseDir /t $type /d 1 /f >/dev/null
  status=0
  wine "$cli" settings >/dev/null 2>"$scratch/err.txt" || status=$?
  [ $status -eq 1 ] || fail "settings with a $type BaseDir exited $status"
  grep -qF "The setup could not be read: HKEY_CURRENT_USER\Software\Didozuza\Tovarin\File\BaseDir" \
    "$scratch/err.txt" || fail "settings with a $type BaseDir said: $(cat "$scratch/err.txt")"
  status=0
  wine "$cli" build --yes </dev/null >/dev/null 2>&1 || status=$?
  [ $status -eq 2 ] || fail "build on a $type BaseDir exited $status"
  [ ! -e "$league/2026.WDD/Tovarin.txt" ] || fail "build on a $type BaseDir wrote a report"
done
# A path stored as REG_EXPAND_SZ is read with its variables expanded; a number stored as text is
# read as that number.
wine reg add "$file_key" /v BaseDir /t REG_EXPAND_SZ /d '%TOVARIN_TEST_BASE%\' /f >/dev/null
wine reg add "$option_key" /v UseFarm /t REG_SZ /d 0 /f >/dev/null
TOVARIN_TEST_BASE=$base wine "$cli" settings | tr -d '\r' >"$scratch/settings.txt" ||
  fail "settings with an expandable BaseDir exited $?"
grep -qxF "File/BaseDir=$base\\" "$scratch/settings.txt" &&
  grep -qxF "Option/UseFarm=0" "$scratch/settings.txt" ||
  fail "expected BaseDir=$base\\ and UseFarm=0 in: $(cat "$scratch/settings.txt")"
TOVARIN_TEST_BASE=$base wine "$cli" build --yes </dev/null >/dev/null ||
  fail "build on an expandable BaseDir exited $?"
[ -s "$league/2026.WDD/Tovarin.txt" ] || fail "no report written from an expandable BaseDir"
rm -rf "$scratch"
