#!/usr/bin/env bash
# The line `make test` ends with: how the x86.* tests (the 32-bit programs)
# went in this run, counted from CTest's own record of it (the JUnit file of
# `ctest --output-junit`): passed, failed and skipped, and the way they ran
# here (native, emulated or skipped) and why. A test that did not pass is
# never counted as having run the 32-bit programs.
#   x86-summary.sh BUILD_DIR RESULTS_XML
build=${1:-build}
results=${2:-$build/ctest-results.xml}
line=$(sed -n 's/^X86_MODE_LINE:INTERNAL=//p' "$build/CMakeCache.txt" 2>/dev/null)
[ -n "$line" ] || exit 0
counts=$(python3 - "$results" <<'PY'
import sys, xml.etree.ElementTree as ET
try:
    cases = ET.parse(sys.argv[1]).getroot().iter("testcase")
except (OSError, ET.ParseError):
    print("none"); sys.exit(0)
passed = failed = skipped = 0
for case in cases:
    if not case.get("name", "").startswith("x86."):
        continue
    status = case.get("status", "")
    if case.find("failure") is not None or case.find("error") is not None or status == "fail":
        failed += 1
    elif case.find("skipped") is not None or status in ("skipped", "notrun", "disabled"):
        skipped += 1
    else:
        passed += 1
print(passed, failed, skipped)
PY
)
if [ "$counts" = none ]; then
  echo "x86 tests: no record of this run ($results); nothing counted"
  exit 0
fi
read -r passed failed skipped <<<"$counts"
mode=${line%%:*}
case $mode in
  native)   how="NATIVE, the 32-bit programs under Wine" ;;
  emulated) how="EMULATED, the 32-bit programs under qemu-i386" ;;
  *)        how="SKIPPED here" ;;
esac
echo "x86 tests: $passed passed, $failed failed, $skipped skipped; $how (${line#*: })"
