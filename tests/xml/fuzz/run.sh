#!/usr/bin/env bash
# Builds the XML reader's fuzz target with clang, libFuzzer and AddressSanitizer +
# UndefinedBehaviorSanitizer, and runs it.
# Usage: tests/xml/fuzz/run.sh [seconds]   (60 by default; findings go to build/fuzz/findings)
set -euo pipefail

seconds=${1:-60}
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
build="$top/build/fuzz"

if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  echo "fuzz: needs clang and its libFuzzer runtime (Debian: apt-get install clang libclang-rt-14-dev)" >&2
  exit 1
fi

CC=clang CXX=clang++ cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DOSTREL_SANITIZE=address,undefined -DOSTREL_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target ostrel_xml_fuzz

corpus="$build/corpus"
findings="$build/findings"
mkdir -p "$corpus" "$findings"
cp -n "$top/tests/xml/fuzz/corpus/"* "$corpus/"
"$build/tests/xml/fuzz/ostrel_xml_fuzz" -max_total_time="$seconds" -max_len=4096 \
  -dict="$top/tests/xml/fuzz/xml.dict" -artifact_prefix="$findings/" "$corpus"
