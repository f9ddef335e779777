#!/usr/bin/env bash
# Installs the Debian packages Orvanta needs, and only those that are missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libavformat-dev libavcodec-dev libswresample-dev libavutil-dev
  libsdl2-dev libcurl4-openssl-dev libjpeg-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2 fontconfig
)
if [ "${1:-}" = "--test" ]; then
  # A screenshot run needs an X server; the HTTPS playback test needs a local TLS server.
  packages+=(xvfb xauth openssl)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
