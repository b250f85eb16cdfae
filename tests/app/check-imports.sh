#!/bin/sh
# The installer runs elevated from whatever folder it was downloaded into.
# It may import only libraries that the loader takes from the system folder
# at start (the shell and COM are loaded on first use, from the system folder
# only), and its image must ask for ASLR and DEP (and, 64-bit, high-entropy
# ASLR) and keep the relocations that ASLR needs.
#   check-imports.sh OBJDUMP EXE
objdump=$1
exe=$2
allowed="kernel32.dll user32.dll gdi32.dll advapi32.dll msvcrt.dll"
headers=$("$objdump" -p "$exe")
dlls=$(echo "$headers" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
if [ -z "$dlls" ]; then
  echo "FAIL: no imports found in $exe"
  exit 1
fi
status=0
for dll in $dlls; do
  case " $allowed " in
    *" $dll "*) echo "ok: $dll" ;;
    *) echo "FAIL: $exe imports $dll, which the loader may look for beside the exe or that start-up does not need"; status=1 ;;
  esac
done
echo "$dlls" | grep -qx kernel32.dll || { echo "FAIL: expected kernel32.dll among the imports"; status=1; }

# DllCharacteristics: 0x40 ASLR, 0x100 DEP, 0x20 high-entropy ASLR (PE32+ only).
value=$(echo "$headers" | sed -n 's/^DllCharacteristics[[:space:]]*\([0-9a-fA-F]*\).*/\1/p')
wanted="40:DYNAMIC_BASE 100:NX_COMPAT"
echo "$headers" | grep -q '^Magic[[:space:]]*020b' && wanted="$wanted 20:HIGH_ENTROPY_VA"
for pair in $wanted; do
  bit=${pair%%:*}
  if [ -n "$value" ] && [ $(( 0x$value & 0x$bit )) -ne 0 ]; then
    echo "ok: ${pair#*:}"
  else
    echo "FAIL: $exe does not ask for ${pair#*:} (DllCharacteristics ${value:-missing})"; status=1
  fi
done
if echo "$headers" | grep -q "relocations stripped"; then
  echo "FAIL: $exe has its relocations stripped: ASLR cannot move it"; status=1
fi
if echo "$headers" | grep -q "^Entry 5 0\+ 0\+ Base Relocation Directory"; then
  echo "FAIL: $exe has no base relocations: ASLR cannot move it"; status=1
fi
exit $status
