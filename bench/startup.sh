#!/usr/bin/env bash
# Start-up time of Corvane.exe under Wine: from process start to the main window shown, with the
# demo data and with a full macro library (128 macros of 512 events), beside the start and exit
# of an empty program and beside an empty program's one plain window shown, on the same machine.
# Prints the median of a few runs of each, in seconds.
#
#   bench/startup.sh [RUNS]      (default 3; builds in build/windows, uses the harness's Xvfb)
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
runs=${1:-3}
build=$root/build/windows
scripts/bootstrap
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" --target Corvane empty_winbench empty_window_winbench >/dev/null

export CORVANE_BUILD_DIR=$build
harness=$root/scripts/wine-harness
"$harness" start
trap '"$harness" stop' EXIT
export WINEPREFIX=$build/wine-prefix WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="winedbg.exe=d;mscoree=d;mshtml=d"
DISPLAY=$(cat "$build/wine-harness/display")
export DISPLAY

work=$build/bench-startup
rm -rf "$work"
mkdir -p "$work/demo" "$work/full/Macros"
cp -r data/. "$work/demo/"
cp "$build/ui/Corvane.exe" "$build/ui/CorvaneHook.dll" "$work/demo/"
cp -r data/. "$work/full/"
cp "$build/ui/Corvane.exe" "$build/ui/CorvaneHook.dll" "$work/full/"

# A full library: 128 names, each file 512 key events (down/up of A..T) in the stored format of
# eight little-endian bytes as hex pairs and their one-byte sum.
{
  printf '[Macros]\r\nNumbers=128\r\n'
  for m in $(seq 1 128); do printf '%d=Bench %03d\r\n' "$m" "$m"; done
} >"$work/full/macros-section.ini"
# The demo file keeps its other sections; its own [Macros] section is replaced.
sed '/^\[Macros\]/,$d' data/Corvane.ini >"$work/full/Corvane.ini"
cat "$work/full/macros-section.ini" >>"$work/full/Corvane.ini"
rm -f "$work/full/macros-section.ini"
rm -f "$work/full/Macros/"*
lines=$(
  printf '[Events]\r\nNumbers=512\r\n'
  for e in $(seq 0 511); do
    msg=$((256 + e % 2)); vk=$((0x41 + (e / 2) % 20))
    sum=$(( ((msg & 255) + (msg >> 8) + vk) & 255 ))
    printf '%d=%02X%02X0000%02X000000%02X\r\n' $((e + 1)) $((msg & 255)) $((msg >> 8)) "$vk" "$sum"
  done
)
for m in $(seq 1 128); do printf '%s\r\n' "$lines" >"$work/full/Macros/Bench $(printf %03d "$m").ini"; done

now() { date +%s.%N; }

# Seconds from the start of program $2 in folder $1 to its window titled $3 being mapped.
time_window() {
  local dir=$1 exe=$2 title=$3 t0 t1 pid win=""
  t0=$(now)
  (cd "$dir" && exec timeout 120 wine "$exe") &
  pid=$!
  while [ -z "$win" ]; do
    win=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -1 || true)
    kill -0 "$pid" 2>/dev/null || break
  done
  t1=$(now)
  [ -n "$win" ] && xdotool key --window "$win" alt+F4 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  [ -n "$win" ] || { echo "startup: no window" >&2; echo nan; return; }
  awk -v a="$t0" -v b="$t1" 'BEGIN {printf "%.3f\n", b - a}'
}

time_empty() {
  local t0 t1
  t0=$(now)
  wine "$build/bench/empty_winbench.exe" >/dev/null 2>&1 || true
  t1=$(now)
  awk -v a="$t0" -v b="$t1" 'BEGIN {printf "%.3f\n", b - a}'
}

median() { sort -g | awk '{a[NR]=$1} END {printf "%.3f", a[int((NR+1)/2)]}'; }

empty=$(for _ in $(seq 1 "$runs"); do time_empty; done | median)
window=$(for _ in $(seq 1 "$runs"); do
  time_window "$build/bench" empty_window_winbench.exe '^Corvane empty window$'; done | median)
demo=$(for _ in $(seq 1 "$runs"); do time_window "$work/demo" Corvane.exe '^Corvane$'; done | median)
full=$(for _ in $(seq 1 "$runs"); do time_window "$work/full" Corvane.exe '^Corvane$'; done | median)
printf 'empty program start and exit:        %s s\n' "$empty"
printf 'empty program, one window shown:     %s s\n' "$window"
printf 'Corvane window shown, demo data:     %s s\n' "$demo"
printf 'Corvane window shown, full library:  %s s\n' "$full"
