#!/bin/sh
# Builds the fuzz targets with clang + libFuzzer and runs one of them.
#   fuzz/run.sh [TARGET] [SECONDS]     default: gif_reader_fuzz for 60 s
# Needs clang and libclang-rt-14-dev (scripts/packages.txt).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
target=${1:-gif_reader_fuzz}
seconds=${2:-60}
build="$root/build/fuzz"

CC=clang CXX=clang++ cmake -S "$root/fuzz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target "$target"

name=${target%_fuzz}
seeds="$root/fuzz/${name%%_*}/corpus"
work="$build/corpus/$target"
mkdir -p "$work"
# A run may not take more than 2 GB or hang on one input for 10 s.
"$build/$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
  -print_final_stats=1 "$work" "$seeds"
