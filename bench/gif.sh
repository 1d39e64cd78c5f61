#!/bin/sh
# GIF encoder against ImageMagick on realistic screenshots.
#   bench/gif.sh [RUNS]        (default 3 runs per case; the best time counts)
# Builds an optimised, unsanitised tree in build/bench, draws screenshots at
# 1920x1080 and 3840x2160, and times `kliptool encode` against `convert` for
# the default settings (colour 3, dither 0) and for Floyd-Steinberg, with
# wall time and peak RSS from /usr/bin/time -v. Goals at 3840x2160: at least
# 10x faster by default, 5x with Floyd-Steinberg, and a peak RSS of at most
# 3x the 24-bit image.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-3}
build="$root/build/bench"
images="$build/images"
out="$build/out"

# The real ImageMagick, not a wrapper that may stand in front of it on PATH.
convert=$(ls /usr/bin/convert-im6.q16 2>/dev/null || echo /usr/bin/convert)
[ -x "$convert" ] || { echo "ImageMagick's convert is missing (package imagemagick)" >&2; exit 1; }

cmake -S "$root" -B "$build" -G Ninja -DKLIPORA_SANITIZE=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target kliptool make_screenshot >/dev/null
mkdir -p "$images" "$out"

# measure COMMAND...: best wall seconds, largest peak RSS (KB) and best CPU
# seconds (user + system) of $runs runs. CPU time is the steadier figure on a
# busy machine; ImageMagick may spread its work over several cores.
measure() {
  best="" rss=0 cpu=""
  i=0
  while [ "$i" -lt "$runs" ]; do
    start=$(date +%s%N)
    /usr/bin/time -v -o "$out/time.txt" "$@" >/dev/null
    t=$(awk "BEGIN { print ($(date +%s%N) - $start) / 1e9 }")
    r=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$out/time.txt")
    c=$(awk -F': ' '/(User|System) time/ { s += $2 } END { print s }' "$out/time.txt")
    if [ -z "$best" ] || awk "BEGIN { exit !($t < $best) }"; then best=$t; fi
    if [ -z "$cpu" ] || awk "BEGIN { exit !($c < $cpu) }"; then cpu=$c; fi
    [ "$r" -gt "$rss" ] && rss=$r
    i=$((i + 1))
  done
  echo "$best $rss $cpu"
}

status=0
printf '%-10s %-15s %8s %8s %7s %8s %8s %7s %8s %8s %7s\n' size mode klip_s magick_s speedup \
  klip_cpu mag_cpu cpu_x klip_MB mag_MB rss/img
for size in 1920x1080 3840x2160; do
  w=${size%x*} h=${size#*x}
  ppm="$images/screen-$size.ppm"
  [ -f "$ppm" ] || "$build/bench/make_screenshot" "$w" "$h" "$ppm"
  image_kb=$((w * h * 3 / 1024))
  for mode in default floyd-steinberg; do
    if [ "$mode" = default ]; then
      set -- 0 +dither
      goal=10
    else
      set -- 1 -dither FloydSteinberg
      goal=5
    fi
    dither=$1
    shift
    k=$(measure "$build/tools/kliptool" encode "$ppm" "$out/klip-$size-$mode.gif" --format gif --colour 3 --dither "$dither")
    m=$(measure "$convert" "$ppm" "$@" -colors 256 "$out/magick-$size-$mode.gif")
    set -- $k $m
    speedup=$(awk "BEGIN { printf \"%.1f\", $4 / $1 }")
    cpux=$(awk "BEGIN { printf \"%.1f\", $6 / ($3 > 0 ? $3 : 0.001) }")
    ratio=$(awk "BEGIN { printf \"%.2f\", $2 / $image_kb }")
    printf '%-10s %-15s %8.3f %8.3f %6sx %8.2f %8.2f %6sx %8.1f %8.1f %7s\n' "$size" "$mode" "$1" "$4" \
      "$speedup" "$3" "$6" "$cpux" "$(awk "BEGIN { print $2 / 1024 }")" "$(awk "BEGIN { print $5 / 1024 }")" "$ratio"
    if [ "$size" = 3840x2160 ]; then
      awk "BEGIN { exit !($speedup >= $goal) }" || { echo "  goal missed: speed-up below ${goal}x"; status=1; }
      awk "BEGIN { exit !($ratio <= 3) }" || { echo "  goal missed: peak RSS above 3x the image"; status=1; }
    fi
  done
done
exit $status
