#!/usr/bin/env bash
# Installs what is missing, builds and starts the player. Its files live in the current
# directory, so start it in the user's data folder rather than wherever the shell happens to be.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/deps.sh"
bash "$root/scripts/build.sh"
data_dir="${XDG_DATA_HOME:-$HOME/.local/share}/orvanta"
mkdir -p "$data_dir"
cd "$data_dir"
exec "$root/${ORVANTA_BUILD_DIR:-build}/orvanta"
