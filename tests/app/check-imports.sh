#!/bin/sh
# The installer must run on a bare Windows: it may import only DLLs that
# every Windows has.
#   check-imports.sh OBJDUMP EXE
objdump=$1
exe=$2
allowed="kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll msvcrt.dll"
dlls=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
if [ -z "$dlls" ]; then
  echo "FAIL: no imports found in $exe"
  exit 1
fi
status=0
for dll in $dlls; do
  case " $allowed " in
    *" $dll "*) echo "ok: $dll" ;;
    *) echo "FAIL: $exe imports $dll, which is not a Windows system DLL"; status=1 ;;
  esac
done
echo "$dlls" | grep -qx kernel32.dll || { echo "FAIL: expected kernel32.dll among the imports"; status=1; }
exit $status
