#!/usr/bin/env bash
# Sets the machine up, builds Ostrel and starts it. Arguments are passed to the program; without
# any, it runs the console front-end on every fixed drive (the window front-end is not built yet).
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"

scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"
if [ $# -eq 0 ]; then
  set -- --console
fi
exec build/release/ostrel "$@"
