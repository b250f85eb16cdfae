#!/usr/bin/env bash
# The installer side by side with established installers: sizes, start-up,
# discovery and install times; and the relief filter side by side with
# established emboss filters (bench/filter.sh) and in the independent host
# engine next to a filter that computes nothing. Prints the tables and writes
# them to bench/results.md.
#   bench/run.sh [BUILD_DIR]        (make bench)
# BENCH_RUNS (default 10) sets the number of timed runs of each installer.
#
# The timed runs are of the shipped 32-bit exe wherever Wine runs 32-bit
# code, driven by the 32-bit build of the benchmark driver; only where it
# cannot are they of the 64-bit twin (built from the same sources), and the
# results say so. The peers: an NSIS installer with one page (makensis
# builds 32-bit installers only, so it is timed where 32-bit Wine works), as
# a window and as a silent install, and a Windows Installer package run by
# msiexec. Both copy the same two plug-in files into a folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
runs=${BENCH_RUNS:-10}
out=$root/bench/results.md
work=$build/bench
mkdir -p "$work"

exe32=$build/iRelief-Setup.exe
exe64=$build/win64/iRelief-Setup.exe
plugin32=$build/plugin-x86/iRelief.8bf
plugin64=$build/plugin-x64/iRelief.8bf
. "$root/scripts/wine-env.sh"
# Timed natively only: under qemu-i386 the times would be the emulator's.
x86_decide
if [ "$X86_RUN" = native ]; then
  runs32=1
  loader=$WINE32
  driver=$build/bin/installer_bench.exe
  timed_exe="build/iRelief-Setup.exe, the 32-bit product"
else
  runs32=0
  loader=$WINE64
  driver=$build/win64/bin/installer_bench.exe
  timed_exe="build/win64/iRelief-Setup.exe, the 64-bit twin: this machine runs no 32-bit Windows code natively"
fi
# The MSI peer is an x64 package: the 64-bit driver starts the 64-bit msiexec.
driver64=$build/win64/bin/installer_bench.exe
engine_bench=$build/win64/bin/engine_bench.exe
copy_filter=$build/win64/bin/copy_filter.8bf
engine=$root/../shared/independent-host/x64/pspiHost.dll
for f in "$exe32" "$exe64" "$plugin32" "$plugin64" "$driver" "$driver64" "$build/win64/bin/discovery_bench.exe" \
  "$engine_bench" "$copy_filter"; do
  [ -f "$f" ] || { echo "bench: $f is missing; build first (make build)" >&2; exit 1; }
done

# The peers' tools are needed by the benchmark only.
missing=()
command -v makensis >/dev/null || missing+=(nsis)
command -v wixl >/dev/null || missing+=(wixl)
command -v gegl >/dev/null || missing+=(gegl)
command -v convert-im6.q16 >/dev/null || missing+=(imagemagick)
/usr/bin/python3 -c 'import cv2' 2>/dev/null || missing+=(python3-opencv)
if [ ${#missing[@]} -gt 0 ]; then
  echo "bench: installing ${missing[*]}"
  apt-get install -y "${missing[@]}" >/dev/null 2>&1 ||
    { apt-get update >/dev/null 2>&1 && apt-get install -y "${missing[@]}" >/dev/null 2>&1; } ||
    echo "bench: could not install ${missing[*]}; their peer is left out" >&2
fi

winpath() { local p=${1//\//\\}; echo "Z:$p"; }
size() { stat -c %s "$1"; }
median_of() { tr -d '\r' < "$2" | sed -n "s/^median $1 //p" | head -1; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "" || b == "" || b + 0 == 0) print "n/a"; else printf "%.2f", a / b }'; }

# --- sizes -----------------------------------------------------------------
s32=$(size "$exe32")
s64=$(size "$exe64")
p32=$(size "$plugin32")
p64=$(size "$plugin64")
payload=$((p32 + p64))
overhead=$((s32 - payload))
packed=$(( $(gzip -9 -c "$plugin32" | wc -c) + $(gzip -9 -c "$plugin64" | wc -c) ))

# --- the peers, built ------------------------------------------------------
nsis_exe=$work/peer-nsis.exe
msi=$work/peer.msi
rm -f "$nsis_exe" "$msi"
if command -v makensis >/dev/null; then
  makensis -V1 -DPLUGIN32="$plugin32" -DPLUGIN64="$plugin64" -DOUT="$nsis_exe" "$root/bench/peer/peer.nsi" >/dev/null
fi
if command -v wixl >/dev/null; then
  # wixl takes file sources relative to the working directory.
  stage=$work/msi-stage
  rm -rf "$stage" && mkdir -p "$stage/x86" "$stage/x64"
  cp "$plugin32" "$stage/x86/iRelief.8bf" && cp "$plugin64" "$stage/x64/iRelief.8bf"
  (cd "$stage" && wixl -a x64 -D Plugin32=x86/iRelief.8bf -D Plugin64=x64/iRelief.8bf -o "$msi" \
    "$root/bench/peer/peer.wxs" 2>/dev/null)
fi
nsis_size=$([ -f "$nsis_exe" ] && size "$nsis_exe" || echo "")
msi_size=$([ -f "$msi" ] && size "$msi" || echo "")

# --- the relief filter against established emboss filters (natively) -------
bash "$root/bench/filter.sh" "$build" "$work/filter-table.md"

# --- discovery (a console program in the prefix, no display) ---------------
echo "bench: discovery on synthetic registries"
bash "$root/bench/discovery.sh" "$build" | tee "$work/discovery.txt"

# --- the windowed runs: one prefix, one wineserver, one display ------------
prefix=$build/bench-prefix
export WINEPREFIX=$prefix
cleanup() {
  "$WINESERVER" -k 2>/dev/null || true
  display_stop "$prefix.display"
}
trap cleanup EXIT
bash "$root/scripts/wine-start.sh" "$prefix"
display_use "$prefix.display"
wine64=$WINE64

echo "bench: the installer, $runs runs ($timed_exe)"
"$loader" "$driver" app 1 >/dev/null  # warm-up: the first run pays for loading Wine's libraries
"$loader" "$driver" app "$runs" | tee "$work/app.txt"

nsis_note="not runnable here: 32-bit"
: >"$work/nsis.txt"
: >"$work/nsis-window.txt"
if [ -f "$nsis_exe" ] && [ "$runs32" = 1 ]; then
  nsis_note="failed (see $work)"
  echo "bench: the NSIS peer's window, $runs runs"
  "$loader" "$driver" window "$runs" "$(winpath "$nsis_exe")" | tee "$work/nsis-window.txt" || true
  echo "bench: the NSIS peer silent (/S), $runs runs"
  if "$loader" "$driver" peer "$runs" 'C:\nsis-peer' "$(winpath "$nsis_exe") /S /D=C:\\nsis-peer" \
    iRelief.8bf 'iRelief(X64).8bf' | tee "$work/nsis.txt"; then
    nsis_note=""
  fi
fi

: >"$work/msi-ui.txt"
: >"$work/msi-qn.txt"
if [ -f "$msi" ]; then
  msi_win=$(winpath "$msi")
  # Wine's msiexec shows no window for a package without dialogs, even with
  # /qb; its own window (the usage box of "msiexec /?") stands in for its
  # start-up, closed as soon as it shows.
  echo "bench: msiexec start -> its window, $runs runs"
  BENCH_CLOSE=1 "$wine64" "$driver64" peer "$runs" 'C:\msi-peer' "msiexec /?" | tee "$work/msi-ui.txt" || true
  echo "bench: the MSI peer silent (/qn), $runs runs (each uninstalled again, untimed)"
  export BENCH_UNDO="msiexec /x $msi_win /qn"
  "$wine64" "$driver64" peer 1 'C:\msi-peer' "msiexec /i $msi_win /qn PLUGINDIR=C:\\msi-peer\\" \
    iRelief.8bf 'iRelief(X64).8bf' >/dev/null || true  # warm-up
  "$wine64" "$driver64" peer "$runs" 'C:\msi-peer' "msiexec /i $msi_win /qn PLUGINDIR=C:\\msi-peer\\" \
    iRelief.8bf 'iRelief(X64).8bf' | tee "$work/msi-qn.txt" || true
  unset BENCH_UNDO
fi

# --- the filter where it runs: the independent host engine -----------------
# Without a window manager on the display, Wine waits two seconds for one to
# withdraw every closed window it would have managed, the filter's dialog
# among them; no desktop keeps a user waiting so. For these runs Wine
# manages no windows itself.
: >"$work/engine.txt"
engine_note="not run: the independent host engine is not there ($engine)"
if [ -f "$engine" ]; then
  engine_note="failed (see $work/engine.txt)"
  echo "bench: the 64-bit plug-in and the copying filter in the independent host engine, best of 3"
  "$wine64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
  if "$wine64" "$engine_bench" "$(winpath "$engine")" "$(winpath "$plugin64")" "$(winpath "$copy_filter")" 3 |
    tr -d '\r' | tee "$work/engine.txt"; then
    engine_note=""
  fi
  "$wine64" reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
fi

# --- the table ---------------------------------------------------------------
a_window=$(median_of app.window "$work/app.txt")
a_paint=$(median_of app.first_paint "$work/app.txt")
a_files=$(median_of app.files "$work/app.txt")
a_done=$(median_of app.completion "$work/app.txt")
a_draw=$(awk -v a="$a_done" -v b="$a_files" 'BEGIN { print a - b }')
a_to_files=$(awk -v a="$a_paint" -v b="$a_files" 'BEGIN { print a + b }')
a_whole=$(awk -v a="$a_paint" -v b="$a_done" 'BEGIN { print a + b }')
w_window=$(median_of peer.window "$work/nsis-window.txt")
w_paint=$(median_of peer.first_paint "$work/nsis-window.txt")
n_files=$(median_of peer.files "$work/nsis.txt")
n_exit=$(median_of peer.exit "$work/nsis.txt")
q_window=$(median_of peer.window "$work/msi-ui.txt")
m_files=$(median_of peer.files "$work/msi-qn.txt")
m_exit=$(median_of peer.exit "$work/msi-qn.txt")
or_na() { [ -n "$1" ] && echo "$1" || echo "${2:-n/a}"; }

disc_rows=$(awk 'BEGIN { n = 0 } { sub(/\r$/, "") } $1 ~ /^[0-9]+$/ && NF == 5 {
    printf "| %s | %.3f | %s | %s | %s |\n", $1, $3, $4, $5, (n ? sprintf("%.2f", $3 / first) : "1.00"); if (!n) first = $3; n++ }' \
  "$work/discovery.txt")
micro=$(grep -m1 'one key open' "$work/discovery.txt" | tr -d '\r' || true)
if [ "$runs32" = 1 ]; then
  ours="ours (32-bit exe)"
else
  ours="ours (64-bit twin)"
fi
nsis_w=$(or_na "$w_window" "$nsis_note")
nsis_p=$(or_na "$w_paint" "$nsis_note")

{
  echo "# Installer benchmark"
  echo
  echo "One run of \`make bench\` ($(date -u +%Y-%m-%d), Wine $($wine64 --version 2>/dev/null | sed 's/wine-//'), $(nproc) cores)."
  echo "Every figure below comes from this one run; every row compares ours with the peers as a ratio."
  echo "Times are medians of $runs runs, in milliseconds, under Wine with a warm wineserver on an Xvfb display."
  echo
  echo "- ours: $timed_exe (every timing of ours is of this exe)."
  echo "- NSIS peer: bench/peer/peer.nsi, a 32-bit NSIS installer with one page (the folder), timed as a window"
  echo "  (started without arguments, ended once its page is completely painted) and as a silent install (/S)."
  echo "- MSI peer: bench/peer/peer.wxs run by msiexec; Wine's msiexec shows no window for a package without"
  echo "  dialogs, so its own window (the usage box of \`msiexec /?\`) stands in for its start-up."
  echo
  echo "## Size (bytes)"
  echo
  echo "| what | ours | NSIS peer | ours/NSIS | MSI peer | ours/MSI |"
  echo "| --- | ---: | ---: | ---: | ---: | ---: |"
  echo "| installer (ours: the 32-bit product) | $s32 | $(or_na "$nsis_size") | $(ratio "$s32" "$nsis_size") | $(or_na "$msi_size") | $(ratio "$s32" "$msi_size") |"
  echo
  echo "All three carry the same payload, iRelief.8bf + iRelief(X64).8bf = $p32 + $p64 = $payload bytes: ours as it is"
  echo "(the installer less its payload is $overhead bytes), the peers compressed (gzip -9 makes $packed bytes of it)."
  echo "The 64-bit twin is $s64 bytes."
  echo
  echo "## Start-up and install (ms, median of $runs)"
  echo
  echo "| what | $ours | NSIS peer | ours/NSIS | MSI peer | ours/MSI |"
  echo "| --- | ---: | ---: | ---: | ---: | ---: |"
  echo "| start -> main window visible | $a_window | $nsis_w | $(ratio "$a_window" "$w_window") | $(or_na "$q_window") (msiexec /?) | $(ratio "$a_window" "$q_window") |"
  echo "| start -> first complete paint | $a_paint | $nsis_p | $(ratio "$a_paint" "$w_paint") | n/a: no window | |"
  echo "| start -> both files in place (ours: first paint, then Install at once; peers: silent) | $a_to_files | $(or_na "$n_files" "$nsis_note") | $(ratio "$a_to_files" "$n_files") | $(or_na "$m_files") | $(ratio "$a_to_files" "$m_files") |"
  echo "| whole run (ours: start -> completion screen drawn; peers: silent, start -> process end) | $a_whole | $(or_na "$n_exit" "$nsis_note") | $(ratio "$a_whole" "$n_exit") | $(or_na "$m_exit") | $(ratio "$a_whole" "$m_exit") |"
  echo
  echo "Of ours: Install click -> both files in place $a_files ms; -> completion screen fully drawn $a_done ms, of"
  echo "which $a_draw ms are drawing the completion picture. Every paint of our window starts with a fixed 50 ms"
  echo "pause (kept by design): the first complete paint holds one, $(ratio 5000 "$a_paint" | awk '{ printf "%.0f%%", $1 }') of it; drawing the completion screen holds"
  echo "one more, $(ratio 5000 "$a_draw" | awk '{ printf "%.0f%%", $1 }') of its $a_draw ms; the rest is the pixel-by-pixel copy of the 600 x 298 completion picture."
  echo
  echo "## Discovery (DiscoverHostFolders, best of 3)"
  echo
  echo "Timed in the 64-bit twin's discovery_bench.exe (the same sources), with no peer: each row's ratio is to"
  echo "the first row's time (10 times the keys at a linear cost gives 10.00)."
  echo
  echo "| keys | seconds | keys/s | folders found | time / time at the first row |"
  echo "| ---: | ---: | ---: | ---: | ---: |"
  echo "$disc_rows"
  echo
  echo "${micro}"
  echo
  e_ours=$(awk '$1 == "engine.ours" { print $2 }' "$work/engine.txt")
  e_copy=$(awk '$1 == "engine.copy" { print $2 }' "$work/engine.txt")
  echo "## The filter where it runs (independent host engine, megapixels per second, 24 MP RGB, best of 3)"
  echo
  echo "The shipped 64-bit plug-in in the independent host engine (../shared/independent-host), its dialog answered"
  echo "OK as soon as it shows, timed from OK to the end of the run; next to the same engine running the bench's own"
  echo "filter (bench/copy_filter.cpp), which takes and hands back every band and computes nothing: the engine's own"
  echo "cost, the limit for any filter in it. Goal: ours/engine's own at least 0.8."
  echo
  echo "| image | ours in the engine | the engine's own (copying filter) | ours/engine's own |"
  echo "| --- | ---: | ---: | ---: |"
  echo "| RGB 8-bit | $(or_na "$e_ours" "$engine_note") | $(or_na "$e_copy" "$engine_note") | $(ratio "$e_ours" "$e_copy") |"
  echo
  cat "$work/filter-table.md"
} >"$out"
echo
cat "$out"
