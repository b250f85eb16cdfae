; The peer installer of the benchmark: copies the same two plug-in files
; into a folder, nothing else. Built by bench/installer.sh with
;   makensis -DPLUGIN32=... -DPLUGIN64=... -DOUT=... peer.nsi
Unicode true
Name "iRelief peer"
OutFile "${OUT}"
InstallDir "C:\Program Files\Mirefold\iRelief"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
Page directory
Page instfiles

Section "iRelief"
  SetOutPath "$INSTDIR"
  File "/oname=iRelief.8bf" "${PLUGIN32}"
  File "/oname=iRelief(X64).8bf" "${PLUGIN64}"
SectionEnd
