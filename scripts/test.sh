#!/usr/bin/env bash
# Builds everything and runs every test (unit, integration, e2e) through ctest.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/build.sh"
cd "$root/build/native"
exec ctest --output-on-failure --timeout 600 -j "$(nproc)" "$@"
