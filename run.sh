#!/usr/bin/env bash
# Builds Tovarin (Release) and shows what is there.
set -euo pipefail
cd "$(dirname "$0")"
source tools/ensure-packages.sh
ensure_packages "${TOVARIN_PACKAGES[@]}"

cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOVARIN_BUILD_TESTS=OFF \
  -DTOVARIN_BUILD_BENCH=OFF >/dev/null
cmake --build build-release --target tovarin-cli
echo
echo "Tovarin is built: build-release/src/cli/tovarin-cli --help shows what the command line does."
