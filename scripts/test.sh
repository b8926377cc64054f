#!/usr/bin/env bash
# Sets the machine up, builds Ostrel with its tests and runs every test.
# Usage: scripts/test.sh [preset]   (ci by default; asan and tsan build with sanitizers)
set -euo pipefail

preset=${1:-ci}
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"

scripts/setup.sh
cmake --preset "$preset"
cmake --build --preset "$preset" -j "$(nproc)"
ctest --preset "$preset"
