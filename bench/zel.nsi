; The same ten product files installed the ordinary NSIS way, as the yardstick for SETUP.EXE:
; a directory page proposing C:\ZEL, then the progress page (instfiles), which closes by itself.
;
;   makensis -DMEDIUM=<directory with SETUP.EXE and the ten files> -DOUTFILE=<installer>
;            [-DTARGET=amd64-unicode] zel.nsi
;
; The files are stored, not compressed: the large medium is random bytes, which no compressor
; shrinks, and a stored file makes the comparison one of copying, not of decompressing.

!ifndef MEDIUM
  !error "define MEDIUM, the directory that holds the ten files"
!endif
!ifndef OUTFILE
  !error "define OUTFILE, the installer to write"
!endif

; Where the benchmark measures SETUP's 64-bit build (a kernel that runs no 32-bit programs),
; bench/run passes -DTARGET=amd64-unicode, so that the installer runs there too.
!ifdef TARGET
  Target ${TARGET}
!endif
Unicode true
Name "ZEL"
OutFile "${OUTFILE}"
InstallDir "C:\ZEL"
RequestExecutionLevel user
SetCompress off
AutoCloseWindow true

Page directory
Page instfiles

Section "ZEL"
  SetOutPath "$INSTDIR"
  File /x SETUP.EXE "${MEDIUM}/*"
SectionEnd
