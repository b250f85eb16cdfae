#!/usr/bin/env bash
# The release: the installer built in a tree of its own, with the two
# plug-ins signed before they are embedded, then the installer signed, and
# its checksum.
#   release.sh SOURCE_DIR TREE_DIR OUT_DIR
# writes OUT_DIR/iRelief-Setup.exe and OUT_DIR/SHA256SUMS. Signing is
# scripts/sign.sh's: with no certificate in the environment every file stays
# unsigned, which is said at the end, and the installer is byte for byte the
# one an ordinary build makes.
set -euo pipefail
if [ $# -ne 3 ]; then
  echo "usage: release.sh SOURCE_DIR TREE_DIR OUT_DIR" >&2
  exit 2
fi
src=$(cd "$1" && pwd)
tree=$2
out=$3
mkdir -p "$tree" "$out"
rm -f "$out/iRelief-Setup.exe" "$out/SHA256SUMS"

cmake -S "$src" -B "$tree" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$src/cmake/toolchain-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DRELEASE_SIGNING=ON \
  ${PAYLOAD_LIST:+-DPAYLOAD_LIST="$PAYLOAD_LIST"} >/dev/null
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! cmake --build "$tree" --target iRelief-Setup >"$log" 2>&1; then
  cat "$log" >&2
  echo "release: the build FAILED" >&2
  exit 1
fi
grep 'sign.sh:' "$log" || true
[ -f "$tree/signed/x86/iRelief.8bf" ] && [ -f "$tree/signed/x64/iRelief.8bf" ] || {
  echo "release: the plug-ins were not signed" >&2
  exit 1
}
bash "$src/scripts/sign.sh" "$tree/iRelief-Setup.exe" "$out/iRelief-Setup.exe" "iRelief Setup"
(cd "$out" && sha256sum iRelief-Setup.exe > SHA256SUMS)

echo
echo "release: $out/iRelief-Setup.exe ($(stat -c %s "$out/iRelief-Setup.exe") bytes)"
echo "release: $out/SHA256SUMS"
cat "$out/SHA256SUMS"
if [ -n "${SIGN_CERT:-}${SIGN_PKCS12:-}" ]; then
  echo "release: SIGNED: the installer and both plug-ins inside it"
else
  echo "release: UNSIGNED: no certificate in the environment (SIGN_CERT and SIGN_KEY, or SIGN_PKCS12"
  echo "release: and SIGN_PASSWORD); the installer and both plug-ins inside it are not signed"
fi
