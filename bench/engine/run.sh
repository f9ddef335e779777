#!/usr/bin/env bash
# Engine benchmark: builds orvanta_engine_bench and runs it next to ffplay and mpv, which are
# installed from Debian's packages when missing. Measures; never fails on a figure.
# Usage: bench/engine/run.sh [--seconds N] [--cycles N]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${ORVANTA_BENCH_BUILD:-$root/build-bench}"

missing=()
command -v ffplay >/dev/null || missing+=(ffmpeg)
command -v mpv >/dev/null || missing+=(mpv)
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVANTA_BENCH=ON -DORVANTA_TESTS=OFF >/dev/null
cmake --build "$build" --target orvanta_engine_bench -j2
"$build/bench/engine/orvanta_engine_bench" "$@"
