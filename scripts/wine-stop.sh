#!/usr/bin/env bash
# Ends the test prefix's wineserver (and with it every program of the
# prefix) and the display that wine-start.sh started for it.
#   wine-stop.sh PREFIX
. "$(dirname "$0")/wine-env.sh"
prefix=$1
WINEPREFIX=$prefix "$WINESERVER" -k 2>/dev/null || true
display_stop "$prefix.display"
rm -f "$prefix.keep"
exit 0
