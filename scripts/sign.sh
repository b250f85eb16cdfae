#!/usr/bin/env bash
# Signs one Windows file (Authenticode, SHA-256) with the maker's
# code-signing certificate. Every signature of a release is made here.
#   sign.sh IN OUT DESCRIPTION
# The certificate comes from the environment:
#   SIGN_CERT and SIGN_KEY        PEM files (SIGN_PASSWORD if the key is encrypted), or
#   SIGN_PKCS12 and SIGN_PASSWORD a PKCS#12 file and its password;
#   SIGN_TIMESTAMP_URL            an RFC 3161 time-stamp server, when set.
# Without a certificate OUT is an exact copy of IN and the script says that
# the file is unsigned. A certificate named but incomplete, or a signature
# that fails, is an error: nothing is written then.
set -euo pipefail
if [ $# -ne 3 ]; then
  echo "usage: sign.sh IN OUT DESCRIPTION" >&2
  exit 2
fi
in=$1
out=$2
description=$3
name=$out
mkdir -p "$(dirname "$out")"
rm -f "$out"

credentials=()
if [ -n "${SIGN_PKCS12:-}" ]; then
  if [ -n "${SIGN_CERT:-}${SIGN_KEY:-}" ]; then
    echo "sign.sh: set either SIGN_CERT and SIGN_KEY or SIGN_PKCS12, not both" >&2
    exit 1
  fi
  [ -n "${SIGN_PASSWORD+set}" ] || { echo "sign.sh: SIGN_PKCS12 needs SIGN_PASSWORD" >&2; exit 1; }
  credentials=(-pkcs12 "$SIGN_PKCS12")
elif [ -n "${SIGN_CERT:-}" ] || [ -n "${SIGN_KEY:-}" ]; then
  [ -n "${SIGN_CERT:-}" ] && [ -n "${SIGN_KEY:-}" ] || {
    echo "sign.sh: SIGN_CERT and SIGN_KEY must both be set" >&2
    exit 1
  }
  credentials=(-certs "$SIGN_CERT" -key "$SIGN_KEY")
else
  cp "$in" "$out"
  echo "sign.sh: UNSIGNED $name (no SIGN_CERT/SIGN_KEY or SIGN_PKCS12 in the environment)"
  exit 0
fi

command -v osslsigncode >/dev/null || { echo "sign.sh: osslsigncode is missing (scripts/setup.sh installs it)" >&2; exit 1; }
options=(-h sha256 -n "$description" -i "https://www.mirefold.com/")
if [ -n "${SIGN_TIMESTAMP_URL:-}" ]; then
  options+=(-ts "$SIGN_TIMESTAMP_URL")
fi
log=$(mktemp)
trap 'rm -f "$log"' EXIT
run_osslsigncode() {
  osslsigncode sign "${credentials[@]}" "${options[@]}" "$@" -in "$in" -out "$out" >"$log" 2>&1
}
# The password goes through a pipe, never on a command line.
if [ -n "${SIGN_PASSWORD+set}" ]; then
  run_osslsigncode -readpass <(printf '%s' "$SIGN_PASSWORD") || status=$?
else
  run_osslsigncode || status=$?
fi
if [ "${status:-0}" -ne 0 ]; then
  cat "$log" >&2
  rm -f "$out"
  echo "sign.sh: signing $name FAILED" >&2
  exit 1
fi
echo "sign.sh: signed $name (SHA-256${SIGN_TIMESTAMP_URL:+, time-stamped by $SIGN_TIMESTAMP_URL})"
