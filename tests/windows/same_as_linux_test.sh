#!/bin/sh
# The Build of tovarin-cli.exe under Wine writes the same rosters and report, byte for byte, as the
# Linux tovarin-cli on the same example league.
# Usage: same_as_linux_test.sh LINUX-TOVARIN-CLI LINUX-TOVARIN-EXAMPLE TOVARIN-CLI.EXE SCRATCH-DIR
set -eu
linux_cli=$1 example=$2 windows_cli=$3 scratch=$4
fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$scratch"
mkdir -p "$scratch/config" "$scratch/data"
"$example" "$scratch/linux" >/dev/null
"$example" "$scratch/windows" >/dev/null
diff -r "$scratch/linux" "$scratch/windows" >/dev/null || fail "the example is not the same twice"

XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" "$linux_cli" build \
  --target "$scratch/linux/2026.WDD/ORG00001" --source "$scratch/linux/2025.WDD/ORG00001" \
  --rename "$scratch/linux/renames.txt" --summary >"$scratch/linux.txt"
w=$(printf 'Z:%s' "$scratch/windows" | tr / '\\')
wine "$windows_cli" build --target "$w\\2026.WDD\\ORG00001" --source "$w\\2025.WDD\\ORG00001" \
  --rename "$w\\renames.txt" --summary </dev/null >"$scratch/windows.txt"

# The league itself: every roster, the report, and nothing else changed or added.
diff -r "$scratch/linux" "$scratch/windows" || fail "the two Builds wrote different files"
cmp -s "$scratch/linux/2025.WDD/ORG00001/T00010RS.ORG" "$scratch/linux/2026.WDD/ORG00001/T00010RS.ORG" &&
  fail "the Build wrote nothing"
[ -s "$scratch/linux/2026.WDD/Tovarin.txt" ] || fail "no report"
# The summaries, but for the report's path.
grep -v '^Report: ' "$scratch/linux.txt" >"$scratch/linux-counts.txt"
tr -d '\r' <"$scratch/windows.txt" | grep -v '^Report: ' >"$scratch/windows-counts.txt"
diff "$scratch/linux-counts.txt" "$scratch/windows-counts.txt" || fail "the summaries differ"
rm -rf "$scratch"
