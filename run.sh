#!/usr/bin/env bash
# Builds Tovarin and runs it on the bundled example league.
#   ./run.sh           a whole Build from the 2025 organization to the 2026 one, and what it did
#   ./run.sh gui       the window on the same example, ready for its Build button
#   ./run.sh windows   the same Build with tovarin-cli.exe, cross-built for Windows, under Wine;
#                      also makes the Windows zip and installer
set -euo pipefail
cd "$(dirname "$0")"
mode="${1:-cli}"
case "$mode" in
  cli|gui|windows) ;;
  -h|--help) sed -n '2,6p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
  *) echo "run.sh: unknown mode '$mode' (use no argument, 'gui' or 'windows')" >&2; exit 2 ;;
esac

source tools/ensure-packages.sh
ensure_packages "${TOVARIN_PACKAGES[@]}"

# Builds quietly: one line of progress on a terminal, nothing otherwise. The compiler's output
# goes to $out/build.log, which is shown (its end) and kept when the build fails.
build() {
  local log="$out/build.log"
  mkdir -p "$out"
  if [ -t 1 ]; then
    if ! cmake --build "$out" "$@" 2>&1 | tee "$log" | while IFS= read -r line; do
        case "$line" in "["*/*"]"*) printf '\r\033[KBuilding Tovarin %s' "${line%%]*}]" ;; esac
      done; then
      printf '\r\033[K'
      build_failed "$log"
    fi
    printf '\r\033[K'
  elif ! cmake --build "$out" "$@" >"$log" 2>&1; then
    build_failed "$log"
  fi
}
build_failed() {
  tail -n 40 "$1" >&2
  echo "run.sh: the build failed; its whole output is in $1" >&2
  exit 1
}

if [ "$mode" = windows ]; then
  ensure_packages "${TOVARIN_WINDOWS_PACKAGES[@]}"
  out=build-win-release
  cmake -S . -B "$out" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DTOVARIN_BUILD_TESTS=OFF >/dev/null
  build
  (cd "$out" && cpack >/dev/null)
  zip="$PWD/$out/$(cd "$out" && ls -t tovarin-*-win64.zip | head -n 1)"
  # Wine in a prefix of this build's own, made once: its registry holds the example's settings.
  export WINEPREFIX="$PWD/$out/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  [ -d "$WINEPREFIX" ] || { echo "Preparing Wine (once)..."; wineboot --init >/dev/null 2>&1; }
  example() { wine "$out/tools/example/tovarin-example.exe" "$@"; }
  cli() { wine "$out/src/cli/tovarin-cli.exe" "$@" </dev/null; }
  # Wine's drive Z: is the Linux root.
  native() { printf 'Z:%s' "$1" | tr / '\\'; }
  sep='\'
else
  out=build-release
  targets=(tovarin-cli tovarin-example)
  [ "$mode" = gui ] && targets+=(tovarin)
  cmake -S . -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOVARIN_BUILD_TESTS=OFF \
    -DTOVARIN_BUILD_BENCH=OFF >/dev/null
  build --target "${targets[@]}"
  example() { "$out/tools/example/tovarin-example" "$@"; }
  cli() { "$out/src/cli/tovarin-cli" "$@"; }
  native() { printf '%s' "$1"; }
  sep=/
fi

# A fresh example on every run; its settings and backups stay in the scratch folder too.
scratch="$PWD/$out/example"
rm -rf "$scratch"
mkdir -p "$scratch/config" "$scratch/data"
export XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data"
league="$scratch/league"
example "$(native "$league")" >/dev/null
base=$(native "$league")
sides=(--target "$base${sep}2026.WDD${sep}ORG00001" --source "$base${sep}2025.WDD${sep}ORG00001"
       --rename "$base${sep}renames.txt")

echo
echo "Example league (fictional players) written to $league:"
echo "  2025.WDD/ORG00001  last season's 30 teams, their farm teams and rosters"
echo "  2026.WDD/ORG00001  the new season's teams, on a player file with new numbers"
echo "  renames.txt        players whose names changed, and two signings"

if [ "$mode" = gui ]; then
  cli settings "${sides[@]}" >/dev/null
  if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "run.sh: no display to open the window on (try: xvfb-run ./run.sh gui)" >&2
    exit 1
  fi
  echo
  echo "Opening the window on it: press Build to carry the 2025 rosters over to 2026."
  exec "$out/src/gui/tovarin"
fi

echo
echo "Carrying the 2025 rosters over to 2026 (tovarin-cli build):"
echo
cli build "${sides[@]}" --summary | tr -d '\r'
report="$league/2026.WDD/Tovarin.txt"
echo
echo "The report lists near misses (same last name, first names alike: not carried unless the"
echo "rename file pairs them), then every 2025 player with the 2026 number he was given (0: none)."
echo "Its first lines:"
echo
head -n 12 "$report" | tr -d '\r'
echo "    ..."
if [ "$mode" = windows ]; then
  echo
  echo "The Windows zip: $zip"
  echo "The Windows installer: $PWD/$out/$(cd "$out" && ls -t tovarin-*-win64-setup.exe | head -n 1)"
fi
