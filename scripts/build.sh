#!/usr/bin/env bash
# Configures and builds both trees: build/win64 (Klipora.exe and the Wine-side
# helpers) and build/native (the core, its tests and tools). Installs missing
# dependencies first.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh"
jobs=$(nproc)

configure() { # dir, extra args...
  local dir=$1; shift
  if [ ! -f "$root/build/$dir/build.ninja" ]; then
    cmake -S "$root" -B "$root/build/$dir" -G Ninja "$@" >/dev/null
  fi
}

configure win64 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release
cmake --build "$root/build/win64" -j "$jobs" ${KLIPORA_TARGETS_WIN64:+--target $KLIPORA_TARGETS_WIN64}
if [ "${1:-}" = "--win64-only" ]; then exit 0; fi
configure native -DKLIPORA_WIN64_DIR="$root/build/win64"
cmake --build "$root/build/native" -j "$jobs"
