#!/usr/bin/env bash
# Installs what is missing, builds and runs every test.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/deps.sh" --test
bash "$root/scripts/build.sh"
cd "$root/${ORVANTA_BUILD_DIR:-build}"
# Window tests run without a display; playback tests write their sound to files.
export QT_QPA_PLATFORM=offscreen
export SDL_AUDIODRIVER=disk
ctest --output-on-failure -j "$(nproc)" --timeout 300
