#!/usr/bin/env bash
# The running player's CPU share under Xvfb over N seconds (default 30) with the three
# companions shown: idle (no station on), playing a loopback station, and playing with the
# companions hidden; then the per-tick microbenchmarks. Leaves a screenshot of the playing
# window set in $ORVANTA_SHOT (default /tmp/orvanta_visual.png). Measures; never fails on a
# figure.
# Usage: bench/visual/run.sh [seconds]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${ORVANTA_BENCH_BUILD:-$root/build-bench}"
seconds="${1:-30}"
shot="${ORVANTA_SHOT:-/tmp/orvanta_visual.png}"

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVANTA_BENCH=ON \
    -DORVANTA_TESTS=OFF >/dev/null
fi
cmake --build "$build" --target orvanta bench_visual_station bench_visual_ticks orvanta_engine_bench -j2 >/dev/null

work="$(mktemp -d /tmp/orvanta_visual_run.XXXXXX)"
cleanup() {
  [ -n "${station_pid:-}" ] && { kill "$station_pid" 2>/dev/null; wait "$station_pid" 2>/dev/null; }
  rm -rf "$work"
}
trap cleanup EXIT

# Something that moves like music: ten tones over the whole strip, each swelling and dying
# away at its own pace, over a noise wash; slightly different left and right.
expr="0.16*sin(2*PI*330*t)*pow(max(0\\,sin(2*PI*0.9*t+0.0))\\,2)+0.16*sin(2*PI*520*t)*pow(max(0\\,sin(2*PI*1.3*t+1.0))\\,2)+0.16*sin(2*PI*790*t)*pow(max(0\\,sin(2*PI*0.7*t+2.0))\\,2)+0.16*sin(2*PI*1180*t)*pow(max(0\\,sin(2*PI*1.7*t+0.5))\\,2)+0.16*sin(2*PI*1750*t)*pow(max(0\\,sin(2*PI*1.1*t+2.5))\\,2)+0.16*sin(2*PI*2600*t)*pow(max(0\\,sin(2*PI*2.3*t+1.5))\\,2)+0.16*sin(2*PI*3900*t)*pow(max(0\\,sin(2*PI*0.6*t+3.0))\\,2)+0.16*sin(2*PI*5200*t)*pow(max(0\\,sin(2*PI*1.9*t+0.2))\\,2)+0.16*sin(2*PI*7100*t)*pow(max(0\\,sin(2*PI*1.4*t+2.2))\\,2)+0.16*sin(2*PI*9300*t)*pow(max(0\\,sin(2*PI*2.9*t+1.1))\\,2)+0.2*(2*random(0)-1)*(0.5+0.5*sin(2*PI*0.8*t+0))|0.16*sin(2*PI*330*t)*pow(max(0\\,sin(2*PI*0.9*t+1.0))\\,2)+0.16*sin(2*PI*520*t)*pow(max(0\\,sin(2*PI*1.3*t+2.0))\\,2)+0.16*sin(2*PI*790*t)*pow(max(0\\,sin(2*PI*0.7*t+3.0))\\,2)+0.16*sin(2*PI*1180*t)*pow(max(0\\,sin(2*PI*1.7*t+1.5))\\,2)+0.16*sin(2*PI*1750*t)*pow(max(0\\,sin(2*PI*1.1*t+3.5))\\,2)+0.16*sin(2*PI*2600*t)*pow(max(0\\,sin(2*PI*2.3*t+2.5))\\,2)+0.16*sin(2*PI*3900*t)*pow(max(0\\,sin(2*PI*0.6*t+4.0))\\,2)+0.16*sin(2*PI*5200*t)*pow(max(0\\,sin(2*PI*1.9*t+1.2))\\,2)+0.16*sin(2*PI*7100*t)*pow(max(0\\,sin(2*PI*1.4*t+3.2))\\,2)+0.16*sin(2*PI*9300*t)*pow(max(0\\,sin(2*PI*2.9*t+2.1))\\,2)+0.2*(2*random(1)-1)*(0.5+0.5*sin(2*PI*0.8*t+1))"
ffmpeg -loglevel error -f lavfi -i "aevalsrc=${expr}:s=44100:d=12" \
  -c:a libmp3lame -b:a 128k -write_xing 0 -f mp3 "$work/music.mp3"

# The station runs until its standard input closes.
coproc STATION { exec "$build/bench/visual/bench_visual_station" "$work/music.mp3"; }
station_pid=$STATION_PID
read -r url <&"${STATION[0]}"
echo "station: $url"

# One start directory per run: stations, visibility, autoplay, the main window at 300, 200.
prepare() { # dir play a b c
  mkdir -p "$1"
  printf 'Loopback\r\n' >"$1/names.txt"
  printf '%s\r\n' "$url" >"$1/sait.txt"
  printf '[visible]\r\na=%s\r\nb=%s\r\nc=%s\r\nd=0\r\n[Play]\r\na=%s\r\n[radio]\r\na=0\r\n[left]\r\na=300\r\n[top]\r\na=200\r\n[zvuk]\r\na=100\r\n' \
    "$3" "$4" "$5" "$2" >"$1/setup.ini"
}

measure() { # label dir [screenshot]
  local label="$1" dir="$2" out="$work/$1.cpu"
  (cd "$dir" && SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1280x800x24 -wr" bash -c '
      "$0" & pid=$!
      sleep 3
      read -r -a a </proc/$pid/stat
      sleep "$1"
      read -r -a b </proc/$pid/stat
      echo $(( b[13] + b[14] - a[13] - a[14] )) >"$2"
      [ -n "$3" ] && import -window root "$3"
      kill -KILL "$pid"; wait "$pid" 2>/dev/null || true
    ' "$build/orvanta" "$seconds" "$out" "${3:-}") || true
  local ticks hz
  ticks="$(cat "$out")"
  hz="$(getconf CLK_TCK)"
  awk -v t="$ticks" -v hz="$hz" -v s="$seconds" -v l="$label" \
    'BEGIN { printf "%-34s %6.2f%% of one core (%.2f s CPU in %d s)\n", l, 100*t/hz/s, t/hz, s }'
}

# The engine alone on the same station, without the program's windows and ticks: what the
# player costs beyond it is the program's own periodic work and drawing.
measure_engine() {
  local ticks hz pid a b
  SDL_AUDIODRIVER=dummy "$build/bench/engine/orvanta_engine_bench" --play "$url" --seconds $((seconds + 5)) \
    >/dev/null 2>&1 &
  pid=$!
  sleep 3
  read -r -a a </proc/$pid/stat
  sleep "$seconds"
  read -r -a b </proc/$pid/stat
  kill -KILL "$pid"; wait "$pid" 2>/dev/null || true
  ticks=$((b[13] + b[14] - a[13] - a[14]))
  hz="$(getconf CLK_TCK)"
  awk -v t="$ticks" -v hz="$hz" -v s="$seconds" -v l="engine alone, same station" \
    'BEGIN { printf "%-34s %6.2f%% of one core (%.2f s CPU in %d s)\n", l, 100*t/hz/s, t/hz, s }'
}

prepare "$work/idle" 0 1 1 1
prepare "$work/playing" 1 1 1 1
prepare "$work/hidden" 1 0 0 0
if [ "${ORVANTA_BENCH_ONLY:-}" = shown ]; then
  for i in 1 2 3; do measure "playing, companions shown ($i)" "$work/playing"; done
  exit 0
fi
echo "player process, after a 3 s warm-up:"
measure "idle, companions shown" "$work/idle"
measure "playing, companions shown" "$work/playing" "$shot"
measure "playing, companions hidden" "$work/hidden"
measure_engine
echo "screenshot: $shot"
echo
"$build/bench/visual/bench_visual_ticks" 2>/dev/null
