; The Windows installer of Kalvian, built by scripts/windows-installer with makensis:
;   makensis -DVERSION=<version> -DPROGRAMS=<folder of the .exe and the guide> -DSOURCE=<repository>
;            -DSIZE_KB=<size> -DOUTFILE=<setup.exe>
; Installs the window (with a Start-menu entry "Kalvian" that starts in the user's Documents folder), the
; command-line exporter with its LEIA-ME, the licence and the user guide (an HTML page, with its own
; Start-menu entry "Guia do Kalvian"), and registers the uninstaller in "Apps & features". Two scopes:
; "only for me" (no administrator: %LOCALAPPDATA%\Programs\Kalvian, HKCU) and "for all users" (Program
; Files, HKLM, with the administrator's confirmation); a user who is no administrator gets the first.
; /S installs silently in the default scope, /CURRENTUSER or /ALLUSERS choose it, /D= the folder. A newer
; version installs over an older one in the same scope and folder, with one entry in "Apps & features".
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!define PRODUCT "Kalvian"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kalvian"
; The window holds this mutex while it runs (the platform folder's running_window), so the installer can
; tell that files in use would be replaced.
!define WINDOW_MUTEX "Kalvian.JanelaAberta"
; Where the files of an install are unpacked before they replace those there.
!define STAGING ".kalvian-instalando"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_USE_PROGRAMFILES64
; An upgrade finds the folder and the scope of the install it replaces.
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_FUNCTION KeepFolderOfCommandLine
; The uninstaller goes by where it was installed, not by who runs it.
!define MULTIUSER_NOUNINSTALL

!include "MultiUser.nsh"
!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "x64.nsh"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"

!define MUI_ICON "${SOURCE}\src\app\icons\kalvian.ico"
!define MUI_UNICON "${SOURCE}\src\app\icons\kalvian.ico"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartWindowFromShortcut
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\guia-do-usuario.html"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Abrir o guia do Kalvian"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${SOURCE}\LICENSE"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "PortugueseBR"

Var CommandLineFolder

Function .onInit
    ; The 64-bit registry and Program Files, whatever the installer itself is.
    SetRegView 64
    ; /D= sets the folder before this runs; choosing the scope below would put its default in its place.
    StrCpy $CommandLineFolder $INSTDIR
    !insertmacro MULTIUSER_INIT
FunctionEnd

Function KeepFolderOfCommandLine
    ${If} $CommandLineFolder != ""
        StrCpy $INSTDIR $CommandLineFolder
    ${EndIf}
FunctionEnd

; Asks until the window is closed or the user gives up; a silent install gives up at once (exit code 2).
!macro WaitForClosedWindow
    ${Do}
        System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${WINDOW_MUTEX}") p .r0'
        ${If} $0 P= 0
            ${Break}
        ${EndIf}
        System::Call 'kernel32::CloseHandle(p r0)'
        StrCpy $R9 "repetir"
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
            "O Kalvian está aberto. Feche a janela do Kalvian e clique em Repetir." /SD IDCANCEL IDRETRY +2
        StrCpy $R9 "desistir"
        ${If} $R9 == "desistir"
            SetErrorLevel 2
            Quit
        ${EndIf}
    ${Loop}
!macroend

!macro InstalledFile SOURCE_PATH NAME
    File "/oname=${STAGING}\${NAME}" "${SOURCE_PATH}"
!macroend

; Moves a staged file over the installed one.
!macro TakeStaged NAME
    Delete "$INSTDIR\${NAME}"
    Rename "$INSTDIR\${STAGING}\${NAME}" "$INSTDIR\${NAME}"
!macroend

; The entry in "Apps & features", in the scope's own registry: one per scope, whatever the version.
!macro WriteUninstallEntry ROOT
    WriteRegStr ${ROOT} "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr ${ROOT} "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr ${ROOT} "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
    WriteRegStr ${ROOT} "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kalvian.exe"
    WriteRegStr ${ROOT} "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr ${ROOT} "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr ${ROOT} "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD ${ROOT} "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD ${ROOT} "${UNINSTALL_KEY}" "NoRepair" 1
    WriteRegDWORD ${ROOT} "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
!macroend

Section "Kalvian" Main
    SectionIn RO
    !insertmacro WaitForClosedWindow
    ; Everything is unpacked beside the install first, and only a complete set replaces it: a full disk or
    ; a refused file leaves the install there was.
    SetOutPath "$INSTDIR"
    RMDir /r "$INSTDIR\${STAGING}"
    ClearErrors
    CreateDirectory "$INSTDIR\${STAGING}"
    !insertmacro InstalledFile "${PROGRAMS}\kalvian.exe" kalvian.exe
    !insertmacro InstalledFile "${PROGRAMS}\kalvian-export.exe" kalvian-export.exe
    !insertmacro InstalledFile "${PROGRAMS}\guia-do-usuario.html" guia-do-usuario.html
    !insertmacro InstalledFile "${SOURCE}\packaging\windows\LEIA-ME.txt" LEIA-ME.txt
    !insertmacro InstalledFile "${SOURCE}\LICENSE" LICENCA.txt
    WriteUninstaller "$INSTDIR\${STAGING}\uninstall.exe"
    ${If} ${Errors}
        RMDir /r "$INSTDIR\${STAGING}"
        MessageBox MB_OK|MB_ICONSTOP "Os arquivos do Kalvian não puderam ser gravados em $INSTDIR. Nada foi \
            alterado." /SD IDOK
        SetErrorLevel 2
        Quit
    ${EndIf}
    !insertmacro TakeStaged kalvian.exe
    !insertmacro TakeStaged kalvian-export.exe
    !insertmacro TakeStaged guia-do-usuario.html
    !insertmacro TakeStaged LEIA-ME.txt
    !insertmacro TakeStaged LICENCA.txt
    !insertmacro TakeStaged uninstall.exe
    RMDir "$INSTDIR\${STAGING}"
    ; The guide of earlier builds, Markdown and loose pictures.
    Delete "$INSTDIR\guia-do-usuario.md"
    RMDir /r "$INSTDIR\guia"

    ; The shortcut starts the window in its own folder, which always exists (a shortcut whose start folder
    ; is gone does not start at all), and the window takes the user's Documents folder in its place, where
    ; it is today, moved or redirected.
    CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\kalvian.exe" "" "$INSTDIR\kalvian.exe" 0
    CreateShortCut "$SMPROGRAMS\Guia do ${PRODUCT}.lnk" "$INSTDIR\guia-do-usuario.html"

    ${If} $MultiUser.InstallMode == "AllUsers"
        !insertmacro WriteUninstallEntry HKLM
    ${Else}
        !insertmacro WriteUninstallEntry HKCU
    ${EndIf}
SectionEnd

Function StartWindowFromShortcut
    ExecShell "" "$SMPROGRAMS\${PRODUCT}.lnk"
FunctionEnd

; The uninstaller knows its scope by the entry that names its folder.
Function un.onInit
    SetRegView 64
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 == $INSTDIR
        SetShellVarContext all
        StrCpy $1 HKLM
    ${Else}
        SetShellVarContext current
        StrCpy $1 HKCU
    ${EndIf}
FunctionEnd

Section "Uninstall"
    !insertmacro WaitForClosedWindow
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    Delete "$SMPROGRAMS\Guia do ${PRODUCT}.lnk"
    Delete "$INSTDIR\kalvian.exe"
    Delete "$INSTDIR\kalvian-export.exe"
    Delete "$INSTDIR\guia-do-usuario.html"
    Delete "$INSTDIR\LEIA-ME.txt"
    Delete "$INSTDIR\LICENCA.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir /r "$INSTDIR\${STAGING}"
    ; Only an empty folder goes: whatever the user kept there stays.
    RMDir "$INSTDIR"
    ${If} $1 == HKLM
        DeleteRegKey HKLM "${UNINSTALL_KEY}"
    ${Else}
        DeleteRegKey HKCU "${UNINSTALL_KEY}"
    ${EndIf}
SectionEnd
