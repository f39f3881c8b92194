; The Windows installer: per user, no administrator rights, into
; %LOCALAPPDATA%\Programs\Vexaro, with a Start-menu entry and an entry in Apps & features.
; The uninstaller removes exactly the files and folders the installer put there (listed at
; build time in files.nsh and unfiles.nsh), the entry and the shortcut, and nothing else.
; Built by cmake/WindowsPackage.cmake: makensis -DVERSION=.. -DVERSION_QUAD=.. -DFOLDER=..
; -DLISTS=.. -DICON=.. -DOUTFILE=.. installer.nsi
; A 64-bit installer for a 64-bit game: it also runs where no 32-bit Windows layer is (a 64-bit
; Wine without its 32-bit half).
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true
RequestExecutionLevel user

!include "FileFunc.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vexaro"
!define SHORTCUT "$SMPROGRAMS\Vexaro!!.lnk"

Name "Vexaro!!"
Caption "Vexaro!! ${VERSION}"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
InstallDir "$LOCALAPPDATA\Programs\Vexaro"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Vexaro!! ${VERSION}"

VIProductVersion "${VERSION_QUAD}"
VIAddVersionKey "ProductName" "Vexaro!!"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Vexaro!! setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "The Vexaro!! Team"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 The Vexaro!! Team"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Vexaro!!"
    ; The folder that holds the game's folder is made only when it is not there yet: then the
    ; uninstaller removes it again (when empty).
    StrCpy $0 0
    IfFileExists "$INSTDIR\..\*.*" +2 0
        StrCpy $0 1

    !include "${LISTS}\files.nsh"
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    CreateShortCut "${SHORTCUT}" "$INSTDIR\vexaro.exe" "" "$INSTDIR\vexaro.exe" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Vexaro!!"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vexaro.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Vexaro!! Team"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "MadeParentFolder" $0
    ${GetSize} "$INSTDIR" "/S=0K" $1 $2 $3
    IntFmt $1 "0x%08X" $1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $1
SectionEnd

Section "Uninstall"
    ReadRegDWORD $0 HKCU "${UNINSTALL_KEY}" "MadeParentFolder"
    !include "${LISTS}\unfiles.nsh"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    StrCmp $0 1 0 +2
        RMDir "$INSTDIR\.."
    Delete "${SHORTCUT}"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
