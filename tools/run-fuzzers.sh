#!/usr/bin/env bash
# Runs each fuzzer for a bounded time from its seed corpus in fuzz/corpus/.
# New inputs go to a scratch folder, so the seeds in the repository stay as
# they are; a crash leaves its input in the working directory.
#   tools/run-fuzzers.sh FUZZER_DIR SECONDS
set -euo pipefail
fuzzer_dir=$1
seconds=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

for seeds in fuzz/corpus/*/; do
  name=$(basename "$seeds")
  mkdir -p "$scratch/$name"
  echo "fuzzing $name for $seconds s"
  "$fuzzer_dir/${name}_fuzzer" -max_total_time="$seconds" -print_final_stats=1 \
      "$scratch/$name" "$seeds" 2>&1 | grep -E '^(stat::number_of_executed_units|Done|==|SUMMARY)' || true
  # grep hides the log; the fuzzer's own status decides.
  [[ ${PIPESTATUS[0]} -eq 0 ]] || { echo "verrine: the $name fuzzer found a failure" >&2; exit 1; }
done
