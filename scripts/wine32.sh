#!/bin/sh
# Runs a 32-bit Windows program under Wine: the runner of every x86.* test
# registered where the kernel runs 32-bit code (tests/CMakeLists.txt). If
# the kernel has stopped running it since the build was configured, the test
# reports itself skipped (77) with the reason instead of failing; `make test`
# configures again for the machine it is on.
line=$("$(dirname "$0")/x86-mode.sh")
case $line in
  native:*) exec /usr/lib/wine/wine "$@" ;;
esac
echo "skipped: configured where 32-bit code runs natively, but now ${line#*: }"
exit 77
