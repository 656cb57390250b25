#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz preset) and runs each for a fixed time.
#
#   tests/fuzz/run-fuzzers.sh [SECONDS_EACH] [TARGET...]     (default 18 s, every target)
#
# New inputs go to a working corpus in the build folder; the seeds in
# tests/fuzz/corpus are only read. A crash, a leak, a slow input or an allocation
# above the target's limit leaves its input under build/fuzz/artifacts and makes
# the script fail.
set -euo pipefail

seconds=${1:-18}
shift || true
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build_dir="$source_dir/build/fuzz"

# fuzzer, seed folder, longest input, largest single allocation in MB. The readers
# hold at most a few copies of their input; the package reader also decodes the
# head of a stream, which may expand a few thousand times.
targets=(
  "payload_parser_fuzzer parser 8192 2048"
  "decode_driver_fuzzer decode 8192 2048"
  "command_line_fuzzer command-line 4096 1"
  "merged_dictionary_fuzzer dictionary 16384 1"
  "patch_block_fuzzer patch-block 8192 4"
  "pe_image_fuzzer pe-image 16384 1"
  "cabinet_fuzzer cabinet 40960 1"
  "package_fuzzer package 16384 256"
)

selected=()
for entry in "${targets[@]}"; do
  read -r fuzzer _ <<<"$entry"
  if [ $# -eq 0 ] || [[ " $* " == *" $fuzzer "* ]]; then
    selected+=("$entry")
  fi
done

cd "$source_dir"
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  cmake --preset fuzz >/dev/null
fi
names=()
for entry in "${selected[@]}"; do
  read -r fuzzer _ <<<"$entry"
  names+=("$fuzzer")
done
cmake --build --preset fuzz --target "${names[@]}" >/dev/null

status=0
for entry in "${selected[@]}"; do
  read -r fuzzer corpus max_len malloc_mb <<<"$entry"
  seeds="$source_dir/tests/fuzz/corpus/$corpus"
  work="$build_dir/corpus-work/$corpus"
  artifacts="$build_dir/artifacts/$corpus/"
  mkdir -p "$work" "$artifacts"
  echo "fuzz: $fuzzer for ${seconds}s"
  if ! "$build_dir/tests/fuzz/$fuzzer" "$work" "$seeds" \
      -max_total_time="$seconds" -max_len="$max_len" -timeout=20 -rss_limit_mb=2048 \
      -malloc_limit_mb="$malloc_mb" -seed=1 -print_final_stats=1 -artifact_prefix="$artifacts" \
      2>"$build_dir/$fuzzer.log"; then
    echo "fuzz: $fuzzer FAILED; see $build_dir/$fuzzer.log and $artifacts" >&2
    tail -n 40 "$build_dir/$fuzzer.log" >&2
    status=1
  else
    grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$build_dir/$fuzzer.log" | sed "s/^/fuzz: $fuzzer /"
    grep -E "^#[0-9]+.*(DONE|INITED).*cov:" "$build_dir/$fuzzer.log" | tail -n 1 | sed "s/^/fuzz: $fuzzer /"
  fi
done
exit $status
