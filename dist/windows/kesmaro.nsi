; The per-user installer of kesmaro.exe (cmake/WindowsPackage.cmake runs makensis on it).
; The build defines: VERSION (2.30b2), VERSION_NUMBERS (2.30.0.2), STAGE (the staged Kesmaro
; folder), FILE_LIST (the macros that install and remove its files by name), ICON, OUTFILE.
;
; Per user, without administrator rights, into %LOCALAPPDATA%\Programs\Kesmaro: the program keeps
; its settings, logs, records and screenshots beside itself, which a Program Files folder would
; forbid.

Unicode true
; A 64-bit installer for the 64-bit program.
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include "${FILE_LIST}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kesmaro"
!define PUBLISHER "The Kesmaro developers"

Name "Kesmaro Ver.${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Kesmaro"
; An update goes where the player put the earlier version.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Kesmaro Ver.${VERSION}"
ShowInstDetails show
ShowUninstDetails show

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\kesmaro.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\ReadMeD.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "$(KeptOnUninstall)"
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Japanese"

LangString SectionProgram ${LANG_JAPANESE} "Kesmaro 本体とヘルプ"
LangString SectionProgramText ${LANG_JAPANESE} \
    "kesmaro.exe、ヘルプ文書、スタートメニューのショートカットとアンインストーラ。"
LangString SectionDesktop ${LANG_JAPANESE} "デスクトップに置く"
LangString SectionDesktopText ${LANG_JAPANESE} "デスクトップに Kesmaro のショートカットを作ります。"
LangString KeptOnUninstall ${LANG_JAPANESE} \
    "Kesmaro をアンインストールします。設定ファイル (KM2DConfig.ini, KesmaroExtra.ini)、\
デバッグログ (debug.txt)、記録 (log フォルダ) とスクリーンショット (ss フォルダ) は\
消さずに残します。"
LangString KeptAfterUninstall ${LANG_JAPANESE} \
    "設定ファイル、デバッグログ、記録とスクリーンショットは次のフォルダに残しました。\
要らなければフォルダごと削除してください。$\r$\n$\r$\n$INSTDIR"
LangString KeptFolder ${LANG_JAPANESE} "設定と記録を残したフォルダ: $INSTDIR"
LangString StillRunning ${LANG_JAPANESE} \
    "Kesmaro が起動しています。終了してから「再試行」を押してください。"

VIProductVersion "${VERSION_NUMBERS}"
VIFileVersion "${VERSION_NUMBERS}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductName" "Kesmaro"
VIAddVersionKey /LANG=${LANG_JAPANESE} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileDescription" "Kesmaro セットアップ"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileVersion" "Ver.${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductVersion" "Ver.${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "LegalCopyright" "Copyright (c) 2026 ${PUBLISHER}"

; A running kesmaro.exe holds its file: the copy over it would fail half-way.
!macro KESMARO_WAIT_UNTIL_CLOSED UN
Function ${UN}WaitUntilClosed
    ${Do}
        ClearErrors
        ${IfNot} ${FileExists} "$INSTDIR\kesmaro.exe"
            ${Break}
        ${EndIf}
        FileOpen $0 "$INSTDIR\kesmaro.exe" a
        ${IfNot} ${Errors}
            FileClose $0
            ${Break}
        ${EndIf}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(StillRunning)" /SD IDCANCEL IDRETRY +2
        Abort
    ${Loop}
FunctionEnd
!macroend
!insertmacro KESMARO_WAIT_UNTIL_CLOSED ""
!insertmacro KESMARO_WAIT_UNTIL_CLOSED "un."

Section "!$(SectionProgram)" SecProgram
    SectionIn RO
    Call WaitUntilClosed
    SetOutPath "$INSTDIR"
    !insertmacro KESMARO_INSTALL_FILES
    WriteUninstaller "$INSTDIR\uninstall.exe"

    ; Working folder: the program's own, where it looks for its settings.
    CreateShortcut "$SMPROGRAMS\Kesmaro.lnk" "$INSTDIR\kesmaro.exe" "" "$INSTDIR\kesmaro.exe" 0
    ; An update without the desktop shortcut takes the earlier one away.
    Delete "$DESKTOP\Kesmaro.lnk"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Kesmaro"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kesmaro.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "$(SectionDesktop)" SecDesktop
    CreateShortcut "$DESKTOP\Kesmaro.lnk" "$INSTDIR\kesmaro.exe" "" "$INSTDIR\kesmaro.exe" 0
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "$(SectionProgramText)"
    !insertmacro MUI_DESCRIPTION_TEXT ${SecDesktop} "$(SectionDesktopText)"
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; Removes what the installer put there, by name; the player's files stay, and with them the
; folder.
Section "Uninstall"
    Call un.WaitUntilClosed
    !insertmacro KESMARO_REMOVE_FILES
    Delete "$INSTDIR\uninstall.exe"
    Delete "$SMPROGRAMS\Kesmaro.lnk"
    Delete "$DESKTOP\Kesmaro.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    RMDir "$INSTDIR"
    ${If} ${FileExists} "$INSTDIR\*.*"
        DetailPrint "$(KeptFolder)"
        MessageBox MB_OK|MB_ICONINFORMATION "$(KeptAfterUninstall)" /SD IDOK
    ${EndIf}
SectionEnd
