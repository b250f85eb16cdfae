#!/usr/bin/env bash
# Ends the test prefix's wineserver and the Xvfb display started for the tests.
#   wine-stop.sh PREFIX DISPLAY_NUMBER
prefix=$1
display=$2
WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null || true
pkill -f "Xvfb :$display " 2>/dev/null || true
exit 0
