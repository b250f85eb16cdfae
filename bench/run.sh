#!/usr/bin/env bash
# The installer side by side with established installers: sizes, start-up,
# discovery and install times. Prints a table and writes it to
# bench/results.md.
#   bench/run.sh [BUILD_DIR]        (make bench)
# BENCH_RUNS (default 10) sets the number of timed runs of each installer.
#
# The timed runs use the 64-bit twin of the installer (this machine may not
# run 32-bit Windows code; the twin is built from the same sources). The
# peers: an NSIS installer (makensis builds 32-bit installers only; timed
# where 32-bit Wine works) and a Windows Installer package run by msiexec.
# Both copy the same two plug-in files into a folder.
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
driver=$build/win64/bin/installer_bench.exe
for f in "$exe32" "$exe64" "$plugin32" "$plugin64" "$driver" "$build/win64/bin/discovery_bench.exe"; do
  [ -f "$f" ] || { echo "bench: $f is missing; build first (make build)" >&2; exit 1; }
done

# The peers' tools are needed by the benchmark only.
missing=()
command -v makensis >/dev/null || missing+=(nsis)
command -v wixl >/dev/null || missing+=(wixl)
if [ ${#missing[@]} -gt 0 ]; then
  echo "bench: installing ${missing[*]}"
  apt-get install -y "${missing[@]}" >/dev/null 2>&1 ||
    { apt-get update >/dev/null 2>&1 && apt-get install -y "${missing[@]}" >/dev/null 2>&1; } ||
    echo "bench: could not install ${missing[*]}; their peer is left out" >&2
fi

winpath() { local p=${1//\//\\}; echo "Z:$p"; }
size() { stat -c %s "$1"; }
median_of() { sed -n "s/^median $1 //p" "$2" | head -1; }
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

# --- discovery (a console program in the prefix, no display) ---------------
echo "bench: discovery on synthetic registries"
bash "$root/bench/discovery.sh" "$build" | tee "$work/discovery.txt"

# --- the windowed runs: one prefix, one wineserver, one display ------------
prefix=$build/bench-prefix
n=940
while [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
xvfb_pid=$!
export WINEPREFIX=$prefix DISPLAY=":$n" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
bash "$root/scripts/wine-start.sh" "$prefix" "$n"
wine64=/usr/lib/wine/wine64

echo "bench: the installer, $runs runs (64-bit twin)"
"$wine64" "$driver" app 1 >/dev/null  # warm-up: the first run pays for loading Wine's libraries
"$wine64" "$driver" app "$runs" | tee "$work/app.txt"

nsis_note="not runnable here: 32-bit"
: >"$work/nsis.txt"
if [ -f "$nsis_exe" ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo "bench: the NSIS peer, $runs runs"
  if "$wine64" "$driver" peer "$runs" 'C:\nsis-peer' "$(winpath "$nsis_exe") /S /D=C:\\nsis-peer" \
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
  BENCH_CLOSE=1 "$wine64" "$driver" peer "$runs" 'C:\msi-peer' "msiexec /?" | tee "$work/msi-ui.txt" || true
  echo "bench: the MSI peer silent (/qn), $runs runs (each uninstalled again, untimed)"
  export BENCH_UNDO="msiexec /x $msi_win /qn"
  "$wine64" "$driver" peer 1 'C:\msi-peer' "msiexec /i $msi_win /qn PLUGINDIR=C:\\msi-peer\\" \
    iRelief.8bf 'iRelief(X64).8bf' >/dev/null || true  # warm-up
  "$wine64" "$driver" peer "$runs" 'C:\msi-peer' "msiexec /i $msi_win /qn PLUGINDIR=C:\\msi-peer\\" \
    iRelief.8bf 'iRelief(X64).8bf' | tee "$work/msi-qn.txt" || true
  unset BENCH_UNDO
fi

# --- the table ---------------------------------------------------------------
a_window=$(median_of app.window "$work/app.txt")
a_paint=$(median_of app.first_paint "$work/app.txt")
a_files=$(median_of app.files "$work/app.txt")
a_done=$(median_of app.completion "$work/app.txt")
a_draw=$(awk -v a="$a_done" -v b="$a_files" 'BEGIN { print a - b }')
n_window=$(median_of peer.window "$work/nsis.txt")
n_exit=$(median_of peer.exit "$work/nsis.txt")
q_window=$(median_of peer.window "$work/msi-ui.txt")
m_files=$(median_of peer.files "$work/msi-qn.txt")
m_exit=$(median_of peer.exit "$work/msi-qn.txt")
or_na() { [ -n "$1" ] && echo "$1" || echo "${2:-n/a}"; }

disc_rows=$(awk '$1 ~ /^[0-9]+$/ && NF == 5 { printf "| %s | %.3f | %s | %s |\n", $1, $3, $4, $5 }' "$work/discovery.txt")
scaling=$(awk 'BEGIN { n = 0 } $1 ~ /^[0-9]+$/ && NF == 5 { k[n] = $1; t[n] = $3; n++ }
  END { for (i = 1; i < n; i++) printf "%s%s -> %s keys: time x%.1f", (i > 1 ? "; " : ""), k[i-1], k[i], t[i] / t[i-1] }' \
  "$work/discovery.txt")
micro=$(grep -m1 'one key open' "$work/discovery.txt" || true)

{
  echo "# Installer benchmark"
  echo
  echo "One run of \`make bench\` ($(date -u +%Y-%m-%d), Wine $($wine64 --version 2>/dev/null | sed 's/wine-//'), $(nproc) cores)."
  echo "Times are medians of $runs runs, in milliseconds, under Wine with a warm wineserver on an Xvfb display;"
  echo "the installer's times are of its 64-bit twin (same sources; this machine runs no 32-bit Windows code)."
  echo
  echo "## Size (bytes)"
  echo
  echo "| what | ours | NSIS peer | MSI peer | ours/NSIS | ours/MSI |"
  echo "| --- | ---: | ---: | ---: | ---: | ---: |"
  echo "| installer (32-bit product) | $s32 | $(or_na "$nsis_size") | $(or_na "$msi_size") | $(ratio "$s32" "$nsis_size") | $(ratio "$s32" "$msi_size") |"
  echo "| payload: iRelief.8bf + iRelief(X64).8bf | $p32 + $p64 = $payload | same files | same files | | |"
  echo "| overhead (installer - payload) | $overhead | n/a: compressed | n/a: compressed | | |"
  echo "| the payload compressed (gzip -9, for comparison) | $packed | | | | |"
  echo "| 64-bit twin (timed below) | $s64 | | | | |"
  echo
  echo "(The peers compress their payload; ours carries it, and its artwork, uncompressed.)"
  echo
  echo "## Start-up and install (ms, median of $runs)"
  echo
  echo "| what | ours | NSIS peer | MSI peer | ours/MSI |"
  echo "| --- | ---: | ---: | ---: | ---: |"
  echo "| start -> main window visible | $a_window | $(or_na "$n_window" "$nsis_note") | $(or_na "$q_window") (msiexec /?) | $(ratio "$a_window" "$q_window") |"
  echo "| start -> first complete paint | $a_paint | | | $(ratio "$a_paint" "$q_window") |"
  echo "| Install click -> both files in place | $a_files | | $(or_na "$m_files") (/qn, from start) | $(ratio "$a_files" "$m_files") |"
  echo "| Install click -> completion screen fully drawn | $a_done | | | |"
  echo "| of which: drawing the completion picture (after the files) | $a_draw | | | |"
  echo "| silent install, start -> process end | | $(or_na "$n_exit" "$nsis_note") | $(or_na "$m_exit") (/qn) | |"
  echo "| whole run: first paint + click -> completion, against a silent install | $(awk -v a="$a_paint" -v b="$a_done" 'BEGIN { print a + b }') | | $(or_na "$m_exit") (/qn) | $(ratio "$(awk -v a="$a_paint" -v b="$a_done" 'BEGIN { print a + b }')" "$m_exit") |"
  echo
  echo "Every paint of our window starts with a fixed 50 ms pause (kept by design): the first complete paint"
  echo "holds one, $(ratio 5000 "$a_paint" | awk '{ printf "%.0f%%", $1 }') of it; drawing the completion screen holds one more,"
  echo "$(ratio 5000 "$a_draw" | awk '{ printf "%.0f%%", $1 }') of its $a_draw ms; the rest is the pixel-by-pixel copy of the 600 x 298 completion picture."
  echo
  echo "## Discovery (DiscoverHostFolders, best of 3)"
  echo
  echo "| keys | seconds | keys/s | folders found |"
  echo "| ---: | ---: | ---: | ---: |"
  echo "$disc_rows"
  echo
  echo "Scaling: $scaling (x10 means linear). ${micro}"
} >"$out"
echo
cat "$out"
