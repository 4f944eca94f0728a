#!/usr/bin/env bash
# Builds Tovarin and runs every test. Installs the packages it needs when they are missing.
#
# Five stages, each of which must pass (warnings are errors in every build):
#   1. the normal build (build/) and every test;
#   2. the Debian package, built in Release (build-release/): lintian, desktop-file-validate,
#      appstreamcli and groff find nothing wrong, and the programs unpacked from it with dpkg -x
#      run a Build;
#   3. the Windows build, cross-built with MinGW-w64 (build-win/), and every test that is not
#      about the Qt window, under Wine in a throwaway prefix; one of them compares its Build with
#      the Linux one of stage 1, byte for byte, and one installs and uninstalls the installer;
#   4. every test again, built with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/);
#   5. when clang and its fuzzer runtime are there, every fuzz target for a short while
#      (tools/fuzz.sh, build-fuzz/), on seeds made by the project's own file writers.
# TOVARIN_FUZZ_SECONDS sets the time of each fuzz target (default 15).
set -euo pipefail
cd "$(dirname "$0")"
source tools/ensure-packages.sh
ensure_packages "${TOVARIN_PACKAGES[@]}" "${TOVARIN_PACKAGING_PACKAGES[@]}" \
  "${TOVARIN_WINDOWS_PACKAGES[@]}" clang libclang-rt-14-dev

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOVARIN_WERROR=ON >/dev/null
cmake --build build
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2)

# The later stages keep the per-user folders (settings, backups) in a folder of their own.
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tovarin-test.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
export XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"

echo "== Debian package"
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOVARIN_BUILD_TESTS=OFF \
  -DTOVARIN_BUILD_BENCH=OFF -DTOVARIN_WERROR=ON >/dev/null
cmake --build build-release --target package
version=$(sed -n 's/^project(Tovarin VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
tests/package/deb_test.sh "build-release/tovarin_${version}_$(dpkg --print-architecture).deb" \
  build-release/tools/example/tovarin-example "$scratch/deb"

echo "== Windows build, tests under Wine"
# A fresh Wine prefix: Windows' per-user folders and registry, for these tests alone.
cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DCMAKE_BUILD_TYPE=Debug -DTOVARIN_WERROR=ON -DTOVARIN_LINUX_BUILD="$PWD/build" \
  -DTOVARIN_WINEPREFIX="$scratch/wine" >/dev/null
cmake --build build-win
# One X display for every Wine program of the stage: the prefix's desktop process is shared, and
# the window test needs it on a display.
(cd build-win && xvfb-run -a ctest --output-on-failure -j2)
WINEPREFIX="$scratch/wine" wineserver -k 2>/dev/null || true

echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
sanitize="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOVARIN_BUILD_BENCH=OFF -DTOVARIN_WERROR=ON \
  -DCMAKE_CXX_FLAGS="$sanitize" -DCMAKE_EXE_LINKER_FLAGS="$sanitize" >/dev/null
cmake --build build-asan
(cd build-asan && QT_QPA_PLATFORM=offscreen \
  ASAN_OPTIONS=detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --output-on-failure -j2)

fuzzer_probe='extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) {
  return 0;
}'
if command -v clang++ >/dev/null &&
   echo "$fuzzer_probe" | clang++ -x c++ -fsanitize=fuzzer,address,undefined - -o "$scratch/probe" \
     2>/dev/null; then
  echo "== fuzz targets, ${TOVARIN_FUZZ_SECONDS:-15}s each"
  tools/fuzz.sh "${TOVARIN_FUZZ_SECONDS:-15}"
else
  echo "== fuzz targets skipped: clang with libFuzzer is not available"
fi
