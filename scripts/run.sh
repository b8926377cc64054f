#!/usr/bin/env bash
# Sets the machine up, builds Ostrel and starts it. Arguments are passed to the program.
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"

scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"
exec build/release/ostrel "$@"
