; The peer installer of the benchmark: one page (the folder), then it
; copies the same two plug-in files into that folder, nothing else. Timed
; as a window and as a silent install (/S). Built by bench/run.sh with
;   makensis -DPLUGIN32=... -DPLUGIN64=... -DOUT=... peer.nsi
Unicode true
Name "iRelief peer"
OutFile "${OUT}"
InstallDir "C:\Program Files\Mirefold\iRelief"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
Page directory

Section "iRelief"
  SetOutPath "$INSTDIR"
  File "/oname=iRelief.8bf" "${PLUGIN32}"
  File "/oname=iRelief(X64).8bf" "${PLUGIN64}"
SectionEnd
