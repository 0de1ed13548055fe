#!/usr/bin/env bash
# Launch-to-window time of Brix Tools on the sample world against a bare Qt window showing the
# same world picture (bench/startup/BareWindow.cpp), launched alternately under one Xvfb.
# Prints each median and their ratio. Needs a Release build with benchmarks:
#   cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DBRIX_BENCH=ON -DBRIX_TESTS=OFF
#   cmake --build build-bench && bench/startup-time.sh [build-bench] [runs]
set -euo pipefail
build=$(cd "${1:-build-bench}" && pwd)
runs=${2:-7}
for f in brix-tools kestrel.zip bench/bare-window bench/window-watch; do
    [ -e "$build/$f" ] || { echo "startup-time: $build/$f is missing; build the benchmarks first" >&2; exit 2; }
done
command -v xvfb-run >/dev/null || { echo "startup-time: needs xvfb-run (Debian package xvfb)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$build/kestrel.zip" "$work/"
# The bare window shows the same picture, taken out of the archive once.
python3 - "$work/kestrel.zip" "$work/world.bmp" <<'PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as z, open(sys.argv[2], 'wb') as out:
    out.write(z.read('world.bmp'))
PY

export BUILD="$build" WORK="$work" RUNS="$runs"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    cd "$WORK"
    watch="$BUILD/bench/window-watch"
    # One untimed launch of each warms the file cache and the font cache.
    "$watch" "Brix Tools" 10000 "$BUILD/brix-tools" >/dev/null
    "$watch" "Brix Tools" 10000 "$BUILD/bench/bare-window" world.bmp >/dev/null
    for i in $(seq "$RUNS"); do
        echo "brix $("$watch" "Brix Tools" 10000 "$BUILD/brix-tools")"
        echo "bare $("$watch" "Brix Tools" 10000 "$BUILD/bench/bare-window" world.bmp)"
    done' > "$work/times"

median() { grep "^$1 " "$work/times" | awk "{print \$2}" | sort -n | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }
brix=$(median brix)
bare=$(median bare)
echo "runs: $runs each, alternating"
echo "brix-tools: $(grep '^brix ' "$work/times" | awk '{printf "%s ", $2}')-> median $brix ms"
echo "bare Qt:    $(grep '^bare ' "$work/times" | awk '{printf "%s ", $2}')-> median $bare ms"
awk -v a="$brix" -v b="$bare" 'BEGIN {printf "ratio: %.2fx\n", a / b}'
