; The Windows installer of Kalvian, built by scripts/windows-installer with makensis:
;   makensis -DVERSION=<version> -DPROGRAMS=<folder of the .exe> -DSOURCE=<repository> -DOUTFILE=<setup.exe>
; Installs into Program Files: the window (with a Start-menu entry "Kalvian"), the command-line exporter with
; its LEIA-ME, the licence and the user guide; registers the uninstaller in "Apps & features". /S installs
; and uninstalls silently; /D= chooses the folder.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include "MUI2.nsh"
!include "x64.nsh"

!define PRODUCT "Kalvian"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kalvian"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

!define MUI_ICON "${SOURCE}\src\app\icons\kalvian.ico"
!define MUI_UNICON "${SOURCE}\src\app\icons\kalvian.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\kalvian.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\LEIA-ME.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Ler como usar o exportador de linha de comando"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${SOURCE}\LICENSE"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "PortugueseBR"

Function .onInit
    ; The 64-bit registry and Program Files, whatever the installer itself is.
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Section "Kalvian" Main
    SectionIn RO
    SetOutPath "$INSTDIR"
    File "${PROGRAMS}\kalvian.exe"
    File "${PROGRAMS}\kalvian-export.exe"
    File "/oname=LEIA-ME.txt" "${SOURCE}\packaging\windows\LEIA-ME.txt"
    File "/oname=LICENCA.txt" "${SOURCE}\LICENSE"
    File "${SOURCE}\docs\guia-do-usuario.md"
    SetOutPath "$INSTDIR\guia"
    File "${SOURCE}\docs\guia\*.png"
    SetOutPath "$INSTDIR"

    CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\kalvian.exe" "" "$INSTDIR\kalvian.exe" 0
    WriteUninstaller "$INSTDIR\uninstall.exe"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kalvian.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

Section "Uninstall"
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    Delete "$INSTDIR\kalvian.exe"
    Delete "$INSTDIR\kalvian-export.exe"
    Delete "$INSTDIR\LEIA-ME.txt"
    Delete "$INSTDIR\LICENCA.txt"
    Delete "$INSTDIR\guia-do-usuario.md"
    Delete "$INSTDIR\guia\*.png"
    RMDir "$INSTDIR\guia"
    Delete "$INSTDIR\uninstall.exe"
    ; Only an empty folder goes: whatever the user kept there stays.
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
