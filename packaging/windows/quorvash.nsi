; The Windows setup program of the Quorvash launcher. It installs per user,
; without administrator rights, into %LOCALAPPDATA%\Quorvash: the launcher
; writes to its own folder (data sets, client code, itself), so it must never
; sit below Program Files.
;
; makensis -DVERSION=1.0.0.1 -DSTAGE=DIR -DOUT=FILE [-DSIGN_COMMAND=...] quorvash.nsi
;   STAGE holds the launcher's files as `cmake --install --component launcher`
;   lays them out (qvs.exe, UpdateQvsPatch.exe, sounds\, plugins\) and the icon
;   quorvash.ico; SIGN_COMMAND, when given, signs the uninstaller and the setup
;   program ("%1" is the file).

Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include LogicLib.nsh
!include FileFunc.nsh

!define PRODUCT "Quorvash"
!define PUBLISHER "Quorvash Team"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvash"

Name "${PRODUCT}"
OutFile "${OUT}"
InstallDir "$LOCALAPPDATA\${PRODUCT}"
Icon "${STAGE}\quorvash.ico"
UninstallIcon "${STAGE}\quorvash.ico"
ShowInstDetails show

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

!ifdef SIGN_COMMAND
!uninstfinalize '${SIGN_COMMAND}'
!finalize '${SIGN_COMMAND}'
!endif

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; A folder that holds something other than an earlier installation is never
; taken, as the uninstaller deletes its whole folder. $R9 is 1 for such a
; folder.
Function CheckFolder
    StrCpy $R9 0
    ${If} ${FileExists} "$INSTDIR\*.*"
    ${AndIfNot} ${FileExists} "$INSTDIR\qvs.exe"
    ${AndIfNot} ${FileExists} "$INSTDIR\uninstall.exe"
        ${DirState} "$INSTDIR" $R9
    ${EndIf}
FunctionEnd

Function .onVerifyInstDir
    Call CheckFolder
    ${If} $R9 = 1
        Abort
    ${EndIf}
FunctionEnd

; The launcher running from the folder keeps qvs.exe open for execution, so
; it cannot be opened for writing; a setup or uninstall then stops before it
; changes anything.
!macro StopIfLauncherRuns UN
Function ${UN}StopIfLauncherRuns
    ${If} ${FileExists} "$INSTDIR\qvs.exe"
        ClearErrors
        FileOpen $0 "$INSTDIR\qvs.exe" a
        ${If} ${Errors}
            MessageBox MB_OK|MB_ICONSTOP "Quorvash is running from $INSTDIR. Close it, then try again." /SD IDOK
            SetErrorLevel 2
            Quit
        ${EndIf}
        FileClose $0
    ${EndIf}
FunctionEnd
!macroend
!insertmacro StopIfLauncherRuns ""
!insertmacro StopIfLauncherRuns "un."

Section "Quorvash"
    ; A silent setup skips the directory page, so /D= is checked here too.
    Call CheckFolder
    ${If} $R9 = 1
        MessageBox MB_OK|MB_ICONSTOP "$INSTDIR is not empty and holds no Quorvash installation. Choose an empty folder." /SD IDOK
        SetErrorLevel 2
        Quit
    ${EndIf}
    Call StopIfLauncherRuns
    SetOutPath "$INSTDIR"
    ; The launcher's own files only: qvs.cfg, the version files, the data
    ; and Log\ of an earlier installation stay as they are.
    File "${STAGE}\qvs.exe"
    File "${STAGE}\UpdateQvsPatch.exe"
    File "${STAGE}\quorvash.ico"
    SetOutPath "$INSTDIR\sounds"
    File "${STAGE}\sounds\stoneclick.wav"
    CreateDirectory "$INSTDIR\plugins"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\qvs.exe" "" "$INSTDIR\quorvash.ico" 0
    CreateShortcut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\qvs.exe" "" "$INSTDIR\quorvash.ico" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\qvs.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "Uninstall"
    Call un.StopIfLauncherRuns
    ; Everything the launcher downloaded or wrote lives in its folder; only a
    ; folder that is an installation is removed.
    ${If} ${FileExists} "$INSTDIR\uninstall.exe"
        RMDir /r "$INSTDIR"
    ${EndIf}
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    Delete "$DESKTOP\${PRODUCT}.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
