; SPDX-License-Identifier: GPL-3.0-or-later
; Installer of Programable Zelk for 64-bit Windows (makensis, Debian's nsis).
; Installs for the current user without administrator rights, into
; %LOCALAPPDATA%\Programs\Programable Zelk, with a Start-menu shortcut and an
; entry in Apps & features. /S installs and uninstalls silently.
;
; scripts/windows-package.sh defines on the command line:
;   VERSION     the program's version (the project's version in CMakeLists.txt)
;   STAGE       the folder to install (the portable folder)
;   OUTFILE     the installer to write
;   FILES       an include file with the File lines of STAGE
;   UNFILES     an include file with the Delete and RMDir lines of STAGE

Unicode true
; A 64-bit installer stub: the program is 64-bit, and the 32-bit stub does not
; start on a 64-bit-only wine.
Target amd64-unicode
SetCompressor /SOLID lzma

!define PRODUCT "Programable Zelk"
!define PUBLISHER "Quibrane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ProgramableZelk"
; Where the program keeps its own settings (the window's state, the last
; folders, the chosen data folder): QSettings under the organisation and
; application names that main.cpp gives.
!define SETTINGS_PARENT_KEY "Software\${PUBLISHER}"
!define SETTINGS_KEY "${SETTINGS_PARENT_KEY}\${PRODUCT}"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel user
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} installer"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "GPL-3.0-or-later"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Install"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  !include "${FILES}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\programable-zelk.exe" "" \
    "$INSTDIR\programable-zelk.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\programable-zelk.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize 0 $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  ; Only the files this installer put there: anything else the user left in
  ; the folder stays, and so does the folder then.
  !include "${UNFILES}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  ; The per-user programs folder, if this was the last program in it.
  RMDir "$LOCALAPPDATA\Programs"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ; The program's own settings go with it; the publisher's key only when no
  ; other program of ours keeps settings there. The technician's work stays:
  ; the data folder (%APPDATA%\${PRODUCT}: restore points, vehicles and their
  ; histories) and whatever was saved in Documents are not the program's.
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "${SETTINGS_PARENT_KEY}"
SectionEnd
