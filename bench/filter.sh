#!/usr/bin/env bash
# The relief filter's speed next to established emboss implementations, in
# one run on the same generated 24-megapixel RGB images at 8 and 16 bits per
# channel: ours (the plug-in's kernel and row sharing, built natively with
# -O3 from the same sources, at the default settings, on every core),
# OpenCV's filter2D with the same 3 x 3 kernel on the same image in memory
# (bench/opencv_relief.py, every core), GEGL's emboss operation (the gegl
# command) and ImageMagick's -emboss, and a plain memory copy of the same
# bytes as the physical limit. Writes a markdown
# table to OUT (default BUILD/bench/filter/table.md) and prints it.
#   bench/filter.sh BUILD_DIR [OUT]
# FILTER_RUNS (default 3) sets the runs of each measurement; the best counts.
#
# The peers are command-line tools: each is timed on the whole command, once
# with the emboss and once without it (load and save only), and the emboss is
# the difference. Their tools are installed by bench/run.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
work=$build/bench/filter
out=${2:-$work/table.md}
runs=${FILTER_RUNS:-3}
mkdir -p "$work"

g++ -O3 -std=c++17 -pthread -I"$root" "$root/bench/filter_bench.cpp" "$root/plugin/ReliefKernel.cpp" \
  "$root/plugin/ReliefSettings.cpp" "$root/plugin/ImageModes.cpp" "$root/plugin/ParallelRows.cpp" \
  -o "$work/filter_bench"
echo "bench: the relief kernel and memcpy, best of $runs"
"$work/filter_bench" "$work" "$runs" | tee "$work/ours.txt"
: >"$work/opencv.txt"
# Debian's python3-opencv is for the system's Python, whatever python3 is first on the PATH.
py=/usr/bin/python3
[ -x "$py" ] || py=python3
if "$py" -c 'import cv2' 2>/dev/null; then
  echo "bench: OpenCV filter2D, best of $runs"
  "$py" "$root/bench/opencv_relief.py" "$work" "$runs" | tee "$work/opencv.txt"
fi

# Best wall time in seconds of a command, over $runs runs.
best_seconds() {
  local best="" start end t
  for _ in $(seq "$runs"); do
    start=$EPOCHREALTIME
    "$@" >/dev/null 2>&1 || return 1
    end=$EPOCHREALTIME
    t=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f", b - a }')
    if [ -z "$best" ] || awk -v a="$t" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$t; fi
  done
  echo "$best"
}
# Megapixels per second of the emboss alone: 24 MP over (with - without).
peer_rate() {
  local with=$1 without=$2
  [ -n "$with" ] && [ -n "$without" ] || { echo ""; return; }
  awk -v a="$with" -v b="$without" 'BEGIN { d = a - b; if (d <= 0) print ""; else printf "%.1f", 24 / d }'
}

im=$(command -v convert-im6.q16 || true)
declare -A rate
for depth in 8 16; do
  in=$work/rgb$depth.ppm
  if command -v gegl >/dev/null; then
    echo "bench: GEGL emboss, $depth-bit"
    with=$(best_seconds gegl -i "$in" -o "$work/gegl-out.ppm" -- gegl:emboss || true)
    without=$(best_seconds gegl -i "$in" -o "$work/gegl-out.ppm" || true)
    rate[gegl$depth]=$(peer_rate "$with" "$without")
    echo "gegl.rgb$depth ${rate[gegl$depth]} (with $with s, without $without s)"
  fi
  if [ -n "$im" ]; then
    echo "bench: ImageMagick -emboss, $depth-bit"
    with=$(best_seconds "$im" "$in" -emboss 1 "$work/im-out.ppm" || true)
    without=$(best_seconds "$im" "$in" "$work/im-out.ppm" || true)
    rate[im$depth]=$(peer_rate "$with" "$without")
    echo "im.rgb$depth ${rate[im$depth]} (with $with s, without $without s)"
  fi
done
rm -f "$work/gegl-out.ppm" "$work/im-out.ppm"

value() { awk -v k="$1" '$1 == k { print $2 }' "$work/ours.txt" "$work/opencv.txt"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "" || b == "" || b + 0 == 0) print "n/a"; else printf "%.2f", a / b }'; }
threads=$(awk '$1 == "threads" { print $2 }' "$work/ours.txt")
{
  echo "## Relief filter (megapixels per second, 24 MP RGB, best of $runs)"
  echo
  echo "Ours: the plug-in's kernel and row sharing at the default settings, built natively (g++ -O3) from the"
  echo "same sources, $threads threads. OpenCV: \`cv2.filter2D\` with the same 3 x 3 kernel on the same image in"
  echo "memory, every core (the peer to beat: goal ours/OpenCV at least 2). Also \`gegl -- gegl:emboss\` and"
  echo "ImageMagick \`convert -emboss 1\`, each timed as the whole command less the same command without the emboss."
  echo "memcpy: one copy of the same bytes (goal memcpy/ours at most 2). Ratios above 1 mean ours is faster."
  echo
  echo "| image | ours | OpenCV filter2D | GEGL emboss | ImageMagick -emboss | memcpy | ours/OpenCV | ours/GEGL | ours/ImageMagick | memcpy/ours |"
  echo "| --- | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: |"
  for depth in 8 16; do
    o=$(value ours.rgb$depth)
    m=$(value memcpy.rgb$depth)
    g=${rate[gegl$depth]:-}
    i=${rate[im$depth]:-}
    c=$(value opencv.rgb$depth)
    echo "| RGB $depth-bit | $o | ${c:-n/a} | ${g:-n/a} | ${i:-n/a} | $m | $(ratio "$o" "$c") | $(ratio "$o" "$g") | $(ratio "$o" "$i") | $(ratio "$m" "$o") |"
  done
} >"$out"
echo
cat "$out"
