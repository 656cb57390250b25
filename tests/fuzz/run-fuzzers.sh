#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz preset) and runs each for a fixed time.
#
#   tests/fuzz/run-fuzzers.sh [SECONDS_EACH]     (default 30)
#
# New inputs go to a working corpus in the build folder; the seeds in
# tests/fuzz/corpus are only read. A crash leaves its input under
# build/fuzz/artifacts and makes the script fail.
set -euo pipefail

seconds=${1:-30}
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build_dir="$source_dir/build/fuzz"

cd "$source_dir"
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  cmake --preset fuzz >/dev/null
fi
cmake --build --preset fuzz --target payload_parser_fuzzer decode_driver_fuzzer >/dev/null

status=0
for pair in payload_parser_fuzzer:parser decode_driver_fuzzer:decode; do
  fuzzer=${pair%%:*}
  seeds="$source_dir/tests/fuzz/corpus/${pair##*:}"
  work="$build_dir/corpus-work/${pair##*:}"
  artifacts="$build_dir/artifacts/${pair##*:}/"
  mkdir -p "$work" "$artifacts"
  echo "fuzz: $fuzzer for ${seconds}s"
  if ! "$build_dir/tests/fuzz/$fuzzer" "$work" "$seeds" \
      -max_total_time="$seconds" -max_len=8192 -timeout=20 -rss_limit_mb=2048 \
      -seed=1 -print_final_stats=1 -artifact_prefix="$artifacts" 2>"$build_dir/$fuzzer.log"; then
    echo "fuzz: $fuzzer FAILED; see $build_dir/$fuzzer.log and $artifacts" >&2
    tail -n 40 "$build_dir/$fuzzer.log" >&2
    status=1
  else
    grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$build_dir/$fuzzer.log" | sed "s/^/fuzz: $fuzzer /"
  fi
done
exit $status
