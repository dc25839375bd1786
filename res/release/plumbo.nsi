; The installer: per user, with no administrator rights, into %LOCALAPPDATA%\Programs\Plumbo.
; scripts/package.sh gives VERSION (the project's), BIN (the folder of plumbo.exe and its help),
; TEXTS (the readme that goes along), ICON and OUTFILE.
; 64-bit, as the program is: it runs where plumbo.exe runs, and on Wine without its 32-bit half.
Target amd64-unicode
!include MUI2.nsh
!include nsDialogs.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Plumbo"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The running copy's hidden window (see src/shell/main_form_win.h).
!define MAIN_FORM_CLASS "PlumboMenuForm"

Name "Plumbo"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Plumbo"
; An update goes where the user installed before, to the settings kept beside the program there.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
; A file that cannot be replaced (a copy that would not end holds plumbo.exe) ends the install
; rather than being skipped: Windows' list of programs would name a version that is not there.
AllowSkipFiles off
SetCompressor /SOLID lzma
BrandingText "Plumbo ${VERSION}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=0 ProductName "Plumbo"
VIAddVersionKey /LANG=0 ProductVersion "${VERSION}"
VIAddVersionKey /LANG=0 FileVersion "${VERSION}"
VIAddVersionKey /LANG=0 FileDescription "Plumbo ${VERSION} Setup"
VIAddVersionKey /LANG=0 CompanyName "Plumbo project"
VIAddVersionKey /LANG=0 LegalCopyright "Plumbo project"

Var StartWithWindows
Var StartNow
Var RemoveSettings
Var Box1
Var Box2

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_DIRECTORY
Page custom OptionsPage OptionsPageLeave
!insertmacro MUI_PAGE_INSTFILES
UninstPage custom un.OptionsPage un.OptionsPageLeave
!insertmacro MUI_UNPAGE_INSTFILES
; Japanese where Windows speaks it, English everywhere else, as the program does.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

LangString OptionsTitle ${LANG_ENGLISH} "Options"
LangString OptionsTitle ${LANG_JAPANESE} "オプション"
LangString OptionsText ${LANG_ENGLISH} "Plumbo lives as an icon in the notification area."
LangString OptionsText ${LANG_JAPANESE} "Plumbo は通知領域のアイコンとして常駐します。"
LangString StartWithWindowsText ${LANG_ENGLISH} "Start with Windows"
LangString StartWithWindowsText ${LANG_JAPANESE} "Windows の起動時に開始する"
LangString StartNowText ${LANG_ENGLISH} "Start Plumbo now"
LangString StartNowText ${LANG_JAPANESE} "Plumbo を今すぐ開始する"
LangString RemoveSettingsTitle ${LANG_ENGLISH} "Settings"
LangString RemoveSettingsTitle ${LANG_JAPANESE} "設定"
LangString RemoveSettingsText ${LANG_ENGLISH} "Remove my settings"
LangString RemoveSettingsText ${LANG_JAPANESE} "設定ファイルも削除する"
LangString EndOldCopy ${LANG_ENGLISH} "An older Plumbo is running and cannot be asked to end. End it now?"
LangString EndOldCopy ${LANG_JAPANESE} "実行中の古い Plumbo を終了させられません。強制終了しますか?"
LangString StillRunning ${LANG_ENGLISH} "Plumbo is still running and could not be removed. End it and try again."
LangString StillRunning ${LANG_JAPANESE} "Plumbo が実行中のため削除できませんでした。終了してからもう一度お試しください。"

Function .onInit
    ; Silent: started with Windows, not started now. An update keeps what the user chose in
    ; "設定" since: started with Windows only if the Run value is there.
    StrCpy $StartWithWindows ${BST_CHECKED}
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ReadRegStr $1 HKCU "${RUN_KEY}" "Plumbo"
    ${If} $0 != ""
    ${AndIf} $1 == ""
        StrCpy $StartWithWindows ${BST_UNCHECKED}
    ${EndIf}
    StrCpy $StartNow ${BST_UNCHECKED}
FunctionEnd

Function OptionsPage
    !insertmacro MUI_HEADER_TEXT "$(OptionsTitle)" "$(OptionsText)"
    nsDialogs::Create 1018
    Pop $0
    ${NSD_CreateCheckbox} 0 0 100% 12u "$(StartWithWindowsText)"
    Pop $Box1
    ${NSD_SetState} $Box1 $StartWithWindows
    ${NSD_CreateCheckbox} 0 18u 100% 12u "$(StartNowText)"
    Pop $Box2
    ${NSD_SetState} $Box2 ${BST_CHECKED}
    nsDialogs::Show
FunctionEnd

Function OptionsPageLeave
    ${NSD_GetState} $Box1 $StartWithWindows
    ${NSD_GetState} $Box2 $StartNow
FunctionEnd

; A running copy holds plumbo.exe. This release's own plumbo.exe asks it to end as "終了" does
; and waits for it; a copy too old to understand the request is ended, after asking.
Function EndRunningCopy
    FindWindow $0 "${MAIN_FORM_CLASS}"
    StrCmp $0 0 done
    InitPluginsDir
    File "/oname=$PLUGINSDIR\plumbo.exe" "${BIN}\plumbo.exe"
    ExecWait '"$PLUGINSDIR\plumbo.exe" /exit'
    Delete "$PLUGINSDIR\plumbo.exe"
    FindWindow $0 "${MAIN_FORM_CLASS}"
    StrCmp $0 0 done
    MessageBox MB_OKCANCEL|MB_ICONQUESTION "$(EndOldCopy)" /SD IDOK IDOK end
    Quit
end:
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
    ; PROCESS_TERMINATE | SYNCHRONIZE
    System::Call 'kernel32::OpenProcess(i 0x100001, i 0, i r1) p .r2'
    System::Call 'kernel32::TerminateProcess(p r2, i 1)'
    System::Call 'kernel32::WaitForSingleObject(p r2, i 10000)'
    System::Call 'kernel32::CloseHandle(p r2)'
done:
FunctionEnd

Section
    SetShellVarContext current
    Call EndRunningCopy
    SetOutPath "$INSTDIR"
    ; plumbo.ini, where it lies beside the program, is the user's and stays as it is.
    File "${BIN}\plumbo.exe"
    File "${BIN}\plHelp.html"
    File "${BIN}\plHelp_en.html"
    File "${BIN}\plHelp.css"
    File "${TEXTS}\readme.txt"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\Plumbo.lnk" "$INSTDIR\plumbo.exe"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Plumbo"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Plumbo project"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\plumbo.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0

    ; The value "設定" shows and writes too. One naming another copy (a portable one) stays its own.
    ${If} $StartWithWindows == ${BST_CHECKED}
        WriteRegStr HKCU "${RUN_KEY}" "Plumbo" '"$INSTDIR\plumbo.exe" /startup'
    ${Else}
        Call DeleteOwnRunValue
    ${EndIf}
    ${If} $StartNow == ${BST_CHECKED}
        Exec '"$INSTDIR\plumbo.exe"'
    ${EndIf}
SectionEnd

; The Run value, when it starts this install's plumbo.exe (names compare without case); for the
; installer and the uninstaller alike.
!macro DeleteOwnRunValue un
Function ${un}DeleteOwnRunValue
    ReadRegStr $0 HKCU "${RUN_KEY}" "Plumbo"
    ${If} $0 == '"$INSTDIR\plumbo.exe" /startup'
        DeleteRegValue HKCU "${RUN_KEY}" "Plumbo"
    ${EndIf}
FunctionEnd
!macroend
!insertmacro DeleteOwnRunValue ""
!insertmacro DeleteOwnRunValue "un."

Function un.onInit
    ; Silent: the settings stay.
    StrCpy $RemoveSettings ${BST_UNCHECKED}
FunctionEnd

Function un.OptionsPage
    !insertmacro MUI_HEADER_TEXT "$(RemoveSettingsTitle)" "$INSTDIR"
    nsDialogs::Create 1018
    Pop $0
    ${NSD_CreateCheckbox} 0 0 100% 12u "$(RemoveSettingsText)"
    Pop $Box1
    ; The page's one choice takes the keys: Space ticks it, Enter goes on.
    ${NSD_SetFocus} $Box1
    nsDialogs::Show
FunctionEnd

Function un.OptionsPageLeave
    ${NSD_GetState} $Box1 $RemoveSettings
FunctionEnd

Section Uninstall
    SetShellVarContext current
    ; Done, the page has nothing left to tell: it closes. One that stops keeps its message.
    SetAutoClose true
    ExecWait '"$INSTDIR\plumbo.exe" /exit'
    Delete "$INSTDIR\plumbo.exe"
    ; A copy that would not end keeps its file: everything stays, so it can be removed later.
    ${If} ${FileExists} "$INSTDIR\plumbo.exe"
        MessageBox MB_OK|MB_ICONEXCLAMATION "$(StillRunning)" /SD IDOK
        SetErrorLevel 2
        Abort
    ${EndIf}
    Delete "$INSTDIR\plHelp.html"
    Delete "$INSTDIR\plHelp_en.html"
    Delete "$INSTDIR\plHelp.css"
    Delete "$INSTDIR\readme.txt"
    Delete "$INSTDIR\uninstall.exe"
    Delete "$SMPROGRAMS\Plumbo.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    Call un.DeleteOwnRunValue
    ${If} $RemoveSettings == ${BST_CHECKED}
        ; Where the program kept them: beside it, or, when its folder took no file, in the user's
        ; application data, which a portable copy elsewhere may share and then keeps.
        ${If} ${FileExists} "$INSTDIR\plumbo.ini"
            Delete "$INSTDIR\plumbo.ini"
        ${Else}
            Delete "$APPDATA\Plumbo\plumbo.ini"
            RMDir "$APPDATA\Plumbo"
        ${EndIf}
    ${EndIf}
    ; Left in place while the settings file is in it.
    RMDir "$INSTDIR"
SectionEnd
