#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and UndefinedBehaviorSanitizer, in
# build-fuzz), makes their seeds with the project's own file writers, and fuzzes each target in
# turn for a fixed time on a scratch copy of its seeds plus its committed regressions. Fails on
# the first crash; the crashing input is left in the scratch folder and its path printed.
#
#   tools/fuzz.sh [SECONDS-PER-TARGET [TARGET...]]     (default 15 s, every target)
#
# Environment: TOVARIN_FUZZ_BUILD (build folder, default build-fuzz), TOVARIN_FUZZ_WORK (folder
# for seeds, corpora, logs and crashing inputs; default a new temporary one, removed on success),
# TOVARIN_FUZZ_ARGS (more libFuzzer options).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-15}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(org_dat players roster rename rename_check build guardian)
build=${TOVARIN_FUZZ_BUILD:-build-fuzz}

sanitize="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link $sanitize" \
  -DCMAKE_EXE_LINKER_FLAGS="$sanitize" \
  -DTOVARIN_BUILD_GUI=OFF -DTOVARIN_BUILD_BENCH=OFF -DTOVARIN_FUZZ=ON -DTOVARIN_LIBFUZZER=ON -DTOVARIN_WERROR=ON \
  >/dev/null
cmake --build "$build" --target tovarin_fuzz_seeds "${targets[@]/#/tovarin_fuzz_}"

work=${TOVARIN_FUZZ_WORK:-$(mktemp -d "${TMPDIR:-/tmp}/tovarin-fuzz.XXXXXX")}
mkdir -p "$work"
"$build/fuzz/tovarin_fuzz_seeds" "$work/seeds"

# The targets make and remove files for every input: their scratch folders go to memory when
# the system has a tmpfs, which is many times faster, and are removed however the run ends.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  scratch=$(mktemp -d /dev/shm/tovarin-fuzz.XXXXXX)
else
  scratch=$(mktemp -d "$work/tmp.XXXXXX")
fi
trap 'rm -rf "$scratch"' EXIT
export TMPDIR="$scratch"
export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

declare -A max_len=([org_dat]=20000 [players]=16384 [roster]=8192 [rename]=8192 [rename_check]=8192 [build]=24000 [guardian]=1500)
for target in "${targets[@]}"; do
  corpus="$work/corpus/$target"
  artifacts="$work/artifacts/$target/"
  mkdir -p "$corpus" "$artifacts"
  cp "$work/seeds/$target"/* "$corpus"/
  if [ -d "fuzz/regressions/$target" ]; then cp "fuzz/regressions/$target"/* "$corpus"/; fi
  echo "== fuzzing $target for ${seconds}s"
  # shellcheck disable=SC2086
  if ! "$build/fuzz/tovarin_fuzz_$target" "$corpus" -max_total_time="$seconds" \
      -rss_limit_mb=2048 -timeout=10 -max_len="${max_len[$target]}" -print_final_stats=1 \
      -artifact_prefix="$artifacts" ${TOVARIN_FUZZ_ARGS:-} >"$work/$target.log" 2>&1; then
    tail -n 60 "$work/$target.log"
    echo "fuzz target $target failed; input: $(ls -d "$artifacts"* 2>/dev/null | head -n 1)" >&2
    exit 1
  fi
  grep -E '^stat::number_of_executed_units|#[0-9]+[[:space:]]+DONE' "$work/$target.log" || true
done
[ -n "${TOVARIN_FUZZ_WORK:-}" ] || rm -rf "$work"
