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
rm -rf "$scratch"
