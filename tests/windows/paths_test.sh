#!/bin/sh
# tovarin-cli.exe under Wine never takes one path for another: letters outside the Western code
# page, shares and "\\?\" paths, trailing dots and short names, device names and case twins, and
# a per-user folder named in any letters.
# Usage: paths_test.sh TOVARIN-CLI.EXE TOVARIN-EXAMPLE.EXE SCRATCH-DIR
# (WINEPREFIX names the prefix; the test points its local application data folder elsewhere for a
# while, so it runs alone.)
set -eu
cli=$1 example=$2 scratch=$3
fail() { printf 'FAIL: %s\n' "$*" >&2; exit 1; }
windows() { printf 'Z:%s' "$1" | tr / '\\'; }  # Wine's Z: drive is the Linux root
run() { wine "$cli" "$@" </dev/null >"$scratch/out.txt" 2>"$scratch/err.txt"; }
# Every file under a folder with its checksum, to tell whether anything there changed.
state() { (cd "$1" && find . -type f -exec md5sum {} + | sort); }

rm -rf "$scratch"
mkdir -p "$scratch/u"
u="$scratch/u"
wine "$example" "$(windows "$u/Łista")" >/dev/null
cp -r "$u/Łista" "$u/Lista"
W=$(windows "$u/Łista")

# A letter outside the code page: the Build, the review's pair and the stored setup all stay in
# Łista; Lista, its best-fit twin, is never touched.
before=$(state "$u/Lista")
run build --yes --target "$W\\2026.WDD\\ORG00001" --source "$W\\2025.WDD\\ORG00001" \
  --rename "$W\\renames.txt" --summary || fail "build exited $?: $(cat "$scratch/err.txt")"
tr -d '\r' <"$scratch/out.txt" | grep -qxF "Report: $W\\2026.WDD\\Tovarin.txt" ||
  fail "the report is not named in Łista: $(cat "$scratch/out.txt")"
cmp -s "$u/Łista/2025.WDD/ORG00001/T00010RS.ORG" "$u/Łista/2026.WDD/ORG00001/T00010RS.ORG" &&
  fail "nothing was written in Łista"
run review --target "$W\\2026.WDD\\ORG00001" --source "$W\\2025.WDD\\ORG00001" \
  --rename "$W\\renames.txt" --accept 797 || fail "review --accept exited $?: $(cat "$scratch/err.txt")"
tr -d '\r' <"$scratch/out.txt" | grep -qxF "1 pair added to $W\\renames.txt" ||
  fail "the pair did not go to Łista's rename file: $(cat "$scratch/out.txt")"
# Names are shown as the letters they are, in UTF-8 when the output is redirected.
run review --target "$W\\2026.WDD\\ORG00001" --source "$W\\2025.WDD\\ORG00001"
grep -q "José Peña" "$scratch/out.txt" || fail "no José Peña in: $(cat "$scratch/out.txt")"
run settings --target "$W\\2026.WDD\\ORG00001" --source "$W\\2025.WDD\\ORG00001" \
  --rename "$W\\renames.txt" || fail "settings exited $?"
run settings
tr -d '\r' <"$scratch/out.txt" | grep -qxF "File/BaseDir=$W\\" ||
  fail "BaseDir not stored as Łista: $(cat "$scratch/out.txt")"
[ "$(state "$u/Lista")" = "$before" ] || fail "Lista was changed"
ls "$u" | grep -qvx -e Łista -e Lista && fail "a folder was made: $(ls "$u")"

# Backups in a per-user folder named outside the code page, put back from there.
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders'
trap 'wine reg add "$key" /v "Local AppData" /t REG_EXPAND_SZ /d "%USERPROFILE%\AppData\Local" \
  /f >/dev/null 2>&1' EXIT
for profile in Łukasz 日本; do
  mkdir -p "$u/$profile"
  wine reg add "$key" /v "Local AppData" /t REG_EXPAND_SZ /d "$(windows "$u/$profile")" /f \
    >/dev/null 2>&1
  built=$(state "$u/Łista/2026.WDD/ORG00001")
  run build --yes || fail "build with backups under $profile exited $?: $(cat "$scratch/err.txt")"
  [ -d "$u/$profile/Didozuza/Tovarin/backups" ] || fail "no backups under $profile"
  run restore || fail "restore from $profile exited $?: $(cat "$scratch/err.txt")"
  [ "$(state "$u/Łista/2026.WDD/ORG00001")" = "$built" ] || fail "restore from $profile"
done
wine reg add "$key" /v "Local AppData" /t REG_EXPAND_SZ /d "%USERPROFILE%\AppData\Local" /f \
  >/dev/null 2>&1
trap - EXIT
rm -rf "$u/Lista" "$u/Łukasz" "$u/日本"

# "\\?\" paths work as they are, and the backup of a Build through one puts it back; one with a
# trailing dot names that folder, never its twin without the dot. Shares are never taken for the
# current drive.
before=$(state "$u/Łista/2026.WDD/ORG00001")
run build --yes --target "\\\\?\\$W\\2026.WDD\\ORG00001" --source "$W\\2025.WDD\\ORG00001" ||
  fail "a \\\\?\\ path: $(cat "$scratch/err.txt")"
run restore || fail "restore after a \\\\?\\ Build: $(cat "$scratch/err.txt")"
[ "$(state "$u/Łista/2026.WDD/ORG00001")" = "$before" ] || fail "restore after a \\\\?\\ Build"
cp -r "$u/Łista/2026.WDD" "$u/Łista/2026.WDD."
printf x >"$u/Łista/2026.WDD./ORG00001/T00010RS.ORG"
before=$(state "$u/Łista/2026.WDD")
run build --yes --target "\\\\?\\$W\\2026.WDD.\\ORG00001" --source "$W\\2025.WDD\\ORG00001" ||
  fail "a \\\\?\\ path with a trailing dot: $(cat "$scratch/err.txt")"
[ "$(state "$u/Łista/2026.WDD")" = "$before" ] || fail "a \\\\?\\ path wrote into the twin"
[ "$(cat "$u/Łista/2026.WDD./ORG00001/T00010RS.ORG")" = x ] && fail "a \\\\?\\ path wrote nothing"
rm -rf "$u/Łista/2026.WDD."
lg=$(printf '%s' "$u/Łista" | tr / '\\')
for share in "\\$lg" "\\\\srv\\share\\L.WDD"; do
  before=$(state "$u/Łista")
  status=0
  run build --yes --target "$share\\2026.WDD\\ORG00001" --source "$W\\2025.WDD\\ORG00001" ||
    status=$?
  [ "$status" -eq 1 ] || fail "$share exited $status"
  tr -d '\r' <"$scratch/err.txt" | grep -qF "$share\\" || fail "$share not named: $(cat "$scratch/err.txt")"
  [ "$(state "$u/Łista")" = "$before" ] || fail "$share wrote into the local Łista"
done

# A trailing dot and a short name reach the same folder, and rosters record its own name.
run build --yes --target "$W\\2026.WDD\\ORG00001" --source "$W\\2025.WDD\\ORG00001" ||
  fail "build exited $?"
expected=$(state "$u/Łista/2026.WDD")
mkdir "$u/MYLEAGUE2026.WDD"
short=$(wine winepath -s "$(windows "$u/MYLEAGUE2026.WDD")" | tr -d '\r')
case "$short" in *"~"*) ;; *) fail "Wine made no short name: $short" ;; esac
rmdir "$u/MYLEAGUE2026.WDD"
mv "$u/Łista/2026.WDD" "$u/Łista/MYLEAGUE2026.WDD"
for way in "$W\\MYLEAGUE2026.WDD." "$W\\$(printf '%s' "$short" | sed 's/.*\\//')"; do
  run build --yes --target "$way\\ORG00001" --source "$W\\2025.WDD\\ORG00001" ||
    fail "$way exited $?: $(cat "$scratch/err.txt")"
  head -c 20 "$u/Łista/MYLEAGUE2026.WDD/ORG00001/T00010RS.ORG" | grep -q "MYLEAGUE2026" ||
    fail "$way: the rosters do not name MYLEAGUE2026"
done
mv "$u/Łista/MYLEAGUE2026.WDD" "$u/Łista/2026.WDD"
# A data disk reached through a link keeps the link's own name, never its target's.
ln -s 2026.WDD "$u/Łista/LINKED.WDD"
run build --yes --target "$W\\LINKED.WDD\\ORG00001" --source "$W\\2025.WDD\\ORG00001" ||
  fail "a linked data disk exited $?: $(cat "$scratch/err.txt")"
head -c 20 "$u/Łista/2026.WDD/ORG00001/T00010RS.ORG" | grep -q "LINKED" ||
  fail "through a link, the rosters do not name LINKED"
rm "$u/Łista/LINKED.WDD"
# A rename file given by its short name is stored by its own.
cp "$u/Łista/renames.txt" "$u/Łista/my league renames.txt"
short=$(wine winepath -s "$(windows "$u/Łista/my league renames.txt")" | tr -d '\r')
run settings --target "$W\\2026.WDD\\ORG00001" --source "$W\\2025.WDD\\ORG00001" \
  --rename "$W\\$(printf '%s' "$short" | sed 's/.*\\//')" || fail "settings exited $?"
run settings
tr -d '\r' <"$scratch/out.txt" | grep -qxF "File/Rename=$W\\my league renames.txt" ||
  fail "the rename file is not stored by its own name: $(cat "$scratch/out.txt")"
run build --yes --target "$W\\2026.WDD.\\ORG00001" --source "$W\\2025.WDD\\ORG00001" ||
  fail "build exited $?"
[ "$(state "$u/Łista/2026.WDD")" = "$expected" ] || fail "a trailing dot wrote other files"

# A device as the rename file is said to be one by build, review and renames alike, and never
# opened (CON would wait for the console).
sides="--target $W\\2026.WDD\\ORG00001 --source $W\\2025.WDD\\ORG00001"
for device in "$W\\NUL.txt" "$W\\CON" "$W\\com1.txt"; do
  said="The rename file could not be read: $device"
  # shellcheck disable=SC2086
  run build --yes $sides --rename "$device" || fail "build --rename $device exited $?"
  tr -d '\r' <"$scratch/out.txt" | grep -qxF "$said" || fail "build: $(cat "$scratch/out.txt")"
  tr -d '\r' <"$scratch/out.txt" | grep -qxF "it is a device" ||
    fail "build: $(cat "$scratch/out.txt")"
  # shellcheck disable=SC2086
  run review $sides --rename "$device" || fail "review --rename $device exited $?"
  tr -d '\r' <"$scratch/err.txt" | grep -qxF "$said" || fail "review: $(cat "$scratch/err.txt")"
  status=0
  # shellcheck disable=SC2086
  run renames $sides --rename "$device" || status=$?
  [ "$status" -eq 1 ] || fail "renames --rename $device exited $status"
  [ "$(tr -d '\r' <"$scratch/err.txt")" = "$said
it is a device" ] || fail "renames: $(cat "$scratch/err.txt")"
done

# Folders Windows cannot reopen, and case twins: refused before anything is written.
mkdir -p "$u/Łista/NUL.WDD/COM1" "$u/Łista/2026.WDD/org00001"
cp "$u/Łista/2026.WDD/ORG00001/"* "$u/Łista/NUL.WDD/COM1/"
cp "$u/Łista/2026.WDD/Players.dat" "$u/Łista/NUL.WDD/"
before=$(state "$u/Łista")
for target in "$W\\NUL.WDD\\COM1" "$W\\2026.WDD\\org00001"; do
  status=0
  run build --yes --target "$target" --source "$W\\2025.WDD\\ORG00001" || status=$?
  [ "$status" -eq 1 ] || fail "$target exited $status"
  [ "$(state "$u/Łista")" = "$before" ] || fail "$target: something was written"
done
tr -d '\r' <"$scratch/err.txt" | grep -q "differ only in case" || fail "$(cat "$scratch/err.txt")"
run build --yes --target "$W\\NUL.WDD\\COM1" --source "$W\\2025.WDD\\ORG00001" || true
tr -d '\r' <"$scratch/err.txt" | grep -qF "keeps for a device (NUL.WDD)" ||
  fail "the device name is not told: $(cat "$scratch/err.txt")"
rm -rf "$scratch"
