#!/usr/bin/env bash
# Runs each fuzzer for a bounded time from its seed corpus in fuzz/corpus/.
# New inputs go to a scratch folder, so the seeds in the repository stay as
# they are; a crash leaves its input in the working directory. Exits with
# status 1 as soon as a fuzzer fails, after showing its whole log.
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
  # The fuzzer's own status decides, taken before anything else runs: a
  # filter in a pipe, or `|| true` after one, would leave only its own.
  status=0
  "$fuzzer_dir/${name}_fuzzer" -max_total_time="$seconds" -print_final_stats=1 \
      "$scratch/$name" "$seeds" >"$scratch/$name.log" 2>&1 || status=$?
  if [[ $status -ne 0 ]]; then
    cat "$scratch/$name.log"
    echo "verrine: the $name fuzzer found a failure (status $status)" >&2
    exit 1
  fi
  grep -E '^(stat::number_of_executed_units|Done)' "$scratch/$name.log" || true
done
