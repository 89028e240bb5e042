; The VQ Saver installer. Run elevated, it installs for every user: the screen saver goes
; into the Windows folder, where Screen Saver Settings lists it. Run by a standard user, it
; installs for that user alone, into the user's own programs folder. Either way it can make
; VQ Saver the active screen saver, and it registers an uninstaller.
;
; makensis -DVERSION=1.2.0 -DSCR32=... -DSCR64=... -DREADME=... -DOUTFILE=... vqsaver.nsi

Unicode true

!include MUI2.nsh
!include LogicLib.nsh
!include x64.nsh
!include FileFunc.nsh

!ifndef VERSION | SCR32 | SCR64 | README | OUTFILE
    !error "VERSION, SCR32, SCR64, README and OUTFILE must be defined"
!endif

; The release's version must be the one compiled into both screen savers.
!getdllversion "${SCR32}" SCR32_VERSION_
!getdllversion "${SCR64}" SCR64_VERSION_
!if "${SCR32_VERSION_1}.${SCR32_VERSION_2}.${SCR32_VERSION_3}" != "${VERSION}"
    !error "${SCR32} is version ${SCR32_VERSION_1}.${SCR32_VERSION_2}.${SCR32_VERSION_3}, not ${VERSION}"
!endif
!if "${SCR64_VERSION_1}.${SCR64_VERSION_2}.${SCR64_VERSION_3}" != "${VERSION}"
    !error "${SCR64} is version ${SCR64_VERSION_1}.${SCR64_VERSION_2}.${SCR64_VERSION_3}, not ${VERSION}"
!endif

!define PRODUCT "VQ Saver"
!define SCR_NAME "VQSaver.scr"
!define SETTINGS_KEY "Software\VQ_Saver"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\VQSaver"
!define DESKTOP_KEY "Control Panel\Desktop"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel highest
SetCompressor /SOLID lzma
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
ShowInstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 Tobin Akersley"

Var ScrPath  ; where the screen saver goes

!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; For every user when the installer runs with administrator rights.
!macro ChooseUsers
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 == "Admin"
        SetShellVarContext all
    ${Else}
        SetShellVarContext current
    ${EndIf}
!macroend

Function .onInit
    !insertmacro ChooseUsers
    ${If} $0 == "Admin"
        StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
        StrCpy $ScrPath "$WINDIR\${SCR_NAME}"
    ${Else}
        StrCpy $ScrPath "$INSTDIR\${SCR_NAME}"
    ${EndIf}
FunctionEnd

Section "VQ Saver" SecSaver
    SectionIn RO
    ; The 64-bit saver on 64-bit Windows, written where the path says, never redirected.
    ${If} ${RunningX64}
        ${DisableX64FSRedirection}
    ${EndIf}
    ${GetParent} $ScrPath $1
    SetOutPath $1
    ${If} ${RunningX64}
        File "/oname=${SCR_NAME}" "${SCR64}"
    ${Else}
        File "/oname=${SCR_NAME}" "${SCR32}"
    ${EndIf}
    ${If} ${RunningX64}
        ${EnableX64FSRedirection}
    ${EndIf}

    SetOutPath $INSTDIR
    File "/oname=README.txt" "${README}"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Tobin Akersley"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$ScrPath"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "ScreenSaverFile" "$ScrPath"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Make it the active screen saver" SecActivate
    WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$ScrPath"
    WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
SectionEnd

Function un.onInit
    !insertmacro ChooseUsers
FunctionEnd

Section "Uninstall"
    ReadRegStr $1 SHCTX "${UNINSTALL_KEY}" "ScreenSaverFile"
    ${If} $1 != ""
        ${If} ${RunningX64}
            ${DisableX64FSRedirection}
        ${EndIf}
        ; The active saver is cleared only when it is this one, named by its long or its
        ; short (8.3) path, as Screen Saver Settings may store it; the short path exists
        ; only while the file does.
        GetFullPathName /SHORT $3 $1
        ReadRegStr $2 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
        ${If} $2 == $1
        ${OrIf} $2 == $3
            DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
        ${EndIf}
        Delete $1
        ${If} ${RunningX64}
            ${EnableX64FSRedirection}
        ${EndIf}
    ${EndIf}

    MessageBox MB_YESNO|MB_ICONQUESTION "Remove your VQ Saver settings as well?" /SD IDYES \
        IDNO keep_settings
    DeleteRegKey HKCU "${SETTINGS_KEY}"
keep_settings:

    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir $INSTDIR
SectionEnd
