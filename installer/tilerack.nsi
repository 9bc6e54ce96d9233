; tilerack's per-user installer: no administrator rights, Russian or English
; (asked on its first page, by default the Windows display language), installs
; into %LOCALAPPDATA%\Programs\tilerack (a folder its user can write, since
; the items live in "shorts.dat" beside the program), with a Start menu
; shortcut, an optional start at sign-in, an entry in the user's list of
; installed apps and an uninstaller. The user's items and settings survive an
; update and, unless the user asks otherwise, an uninstall.
;
; Built by scripts/make-dist.sh:
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.2.3 -DSTAGE=folder -DICON=file.ico
;            -DOUTFILE=tilerack-1.2.3-setup.exe installer/tilerack.nsi
; STAGE holds tilerack.exe, icons.dat, README.md, LICENSE.txt, LICENSE-tango.txt.
; With -DSIGN_COMMAND=scripts/sign-file.sh the uninstaller is signed before
; it is packed into the installer.

!ifndef VERSION | STAGE | ICON | OUTFILE
  !error "define VERSION, STAGE, ICON and OUTFILE (see scripts/make-dist.sh)"
!endif

; 64-bit and Unicode, like the program it installs.
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma
; No file times in the installer: its size then does not depend on the
; build's time stamp, so the README can give it exactly.
SetDateSave off

!define PRODUCT "tilerack"
!define PUBLISHER "the tilerack contributors"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\tilerack"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define PANEL_CLASS "TMainPanel"
!define SETTINGS_SECTION "Keelstrip"

!ifdef SIGN_COMMAND
  !uninstfinalize '"${SIGN_COMMAND}" "%1"' = 0
!endif

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh
!include Sections.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartInstalledPanel
!define MUI_FINISHPAGE_RUN_TEXT "$(StartPanelNow)"
; The language page, first: both languages named in both.
!define MUI_LANGDLL_WINDOWTITLE "tilerack: язык / language"
!define MUI_LANGDLL_INFO "Выберите язык / Choose a language"
!define MUI_LANGDLL_ALLLANGUAGES

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Russian"
!insertmacro MUI_LANGUAGE "English"

LangString StartPanelNow ${LANG_RUSSIAN} "Запустить панель tilerack"
LangString StartPanelNow ${LANG_ENGLISH} "Start the tilerack panel"
LangString ClosingPanel ${LANG_RUSSIAN} "Закрывается работающая панель tilerack..."
LangString ClosingPanel ${LANG_ENGLISH} "Closing the running tilerack panel..."
LangString PanelNotClosed ${LANG_RUSSIAN} "Панель tilerack не закрылась."
LangString PanelNotClosed ${LANG_ENGLISH} "The tilerack panel did not close."
LangString CloseAndRetry ${LANG_RUSSIAN} "Закройте её и нажмите «Повтор»."
LangString CloseAndRetry ${LANG_ENGLISH} "Close it and press Retry."
LangString ShortcutDescription ${LANG_RUSSIAN} "Панель быстрого запуска"
LangString ShortcutDescription ${LANG_ENGLISH} "Quick-launch panel"
LangString SignInSection ${LANG_RUSSIAN} "Запускать панель при входе в Windows"
LangString SignInSection ${LANG_ENGLISH} "Start the panel when you sign in to Windows"
LangString UserDataSection ${LANG_RUSSIAN} "Удалить также ярлыки панели (shorts.dat) и её настройки"
LangString UserDataSection ${LANG_ENGLISH} "Also remove the panel's shortcuts (shorts.dat) and its settings"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileDescription" "Установка панели быстрого запуска tilerack"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "LegalCopyright" "Copyright (c) 2026 ${PUBLISHER}"

; The program of the panel the installer closed (empty: none was running);
; a silent run starts it again when it has finished.
Var ClosedPanelProgram

; The user chose the language: on the language page or with "/LANG=". A
; silent update without "/LANG=" leaves the panel's settings as they are.
Var LanguageChosen

; Asks every running panel to close (WM_CLOSE: the panel saves its items and
; settings as it closes) and waits for its process to end, so that no file in
; use is replaced and nothing unsaved is lost. A panel that does not end in
; 20 s is reported; the user may close it and retry, a silent run gives up.
!macro CLOSE_RUNNING_PANEL
  StrCpy $R9 0
  next_panel:
    FindWindow $R0 "${PANEL_CLASS}"
    StrCmp $R0 0 all_closed
    IntOp $R9 $R9 + 1
    IntCmp $R9 10 0 0 not_closed
    DetailPrint "$(ClosingPanel)"
    System::Call 'user32::GetWindowThreadProcessId(p R0, *i .R1) i'
    ; Which program it is: the installed one, or a copy from the zip.
    StrCpy $ClosedPanelProgram "$INSTDIR\tilerack.exe"
    System::Call 'kernel32::OpenProcess(i 0x1000, i 0, i R1) p .R4' ; PROCESS_QUERY_LIMITED_INFORMATION
    StrCmp $R4 0 program_known
    StrCpy $R5 ${NSIS_MAX_STRLEN}
    System::Call 'kernel32::QueryFullProcessImageNameW(p R4, i 0, w .R6, *i R5) i .R7'
    System::Call 'kernel32::CloseHandle(p R4)'
    StrCmp $R7 0 program_known
    StrCpy $ClosedPanelProgram $R6
  program_known:
    System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i R1) p .R2'
    System::Call 'user32::PostMessageW(p R0, i ${WM_CLOSE}, p 0, p 0) i'
    StrCmp $R2 0 wait_window
    System::Call 'kernel32::WaitForSingleObject(p R2, i 20000) i .R3'
    System::Call 'kernel32::CloseHandle(p R2)'
    StrCmp $R3 0 next_panel not_closed
  wait_window:
    ; No handle to the process: wait for its window to go instead.
    StrCpy $R3 0
  window_poll:
    IsWindow $R0 0 next_panel
    IntOp $R3 $R3 + 1
    IntCmp $R3 200 not_closed
    Sleep 100
    Goto window_poll
  not_closed:
    IfSilent give_up
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(PanelNotClosed)$\r$\n$(CloseAndRetry)" IDRETRY retry
  give_up:
    SetErrorLevel 2
    Abort "$(PanelNotClosed)"
  retry:
    StrCpy $R9 0
    Goto next_panel
  all_closed:
!macroend

Function ClosePanel
  !insertmacro CLOSE_RUNNING_PANEL
FunctionEnd

Function un.ClosePanel
  !insertmacro CLOSE_RUNNING_PANEL
FunctionEnd

Section "-Программа" SecProgram
  Call ClosePanel
  SetOutPath "$INSTDIR"
  ; Only the program's own files: "shorts.dat" and the settings are the
  ; user's and are never written here.
  File "${STAGE}/tilerack.exe"
  File "${STAGE}/icons.dat"
  File "${STAGE}/README.md"
  File "${STAGE}/LICENSE.txt"
  File "${STAGE}/LICENSE-tango.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortcut "$SMPROGRAMS\tilerack.lnk" "$INSTDIR\tilerack.exe" "" "$INSTDIR\tilerack.exe" 0 \
    SW_SHOWNORMAL "" "$(ShortcutDescription)"
  ; The next section puts the start at sign-in back when it stays ticked.
  DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tilerack.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  ; The uninstaller speaks the language chosen here.
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Language" "$LANGUAGE"
  ${If} $LanguageChosen == 1
    Call WriteLanguageSetting
  ${EndIf}
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "$(SignInSection)" SecSignIn
  WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\tilerack.exe"'
SectionEnd

Section "-un.Программа"
  Call un.ClosePanel
  Delete "$INSTDIR\tilerack.exe"
  Delete "$INSTDIR\icons.dat"
  Delete "$INSTDIR\README.md"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\LICENSE-tango.txt"
  Delete "$SMPROGRAMS\tilerack.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

; Unticked by default, and so never in a silent run unless asked for with
; /REMOVEUSERDATA: the items and the settings stay for a later installation.
Section /o "un.$(UserDataSection)" SecUnUserData
  Delete "$INSTDIR\shorts.dat"
  Delete "$INSTDIR\shorts.dat.saving"
  Delete "$INSTDIR\shorts.damaged-*.dat"
  Delete "$APPDATA\tilerack\tilerack.INI"
  RMDir "$APPDATA\tilerack"
  DeleteINISec "$WINDIR\tilerack.INI" "${SETTINGS_SECTION}"
  FlushINI "$WINDIR\tilerack.INI"
  ; The file held only the panel's section: remove it when nothing is left.
  ClearErrors
  FileOpen $0 "$WINDIR\tilerack.INI" r
  ${IfNot} ${Errors}
    FileSeek $0 0 END $1
    FileClose $0
    ${If} $1 < 3
      Delete "$WINDIR\tilerack.INI"
    ${EndIf}
  ${EndIf}
SectionEnd

Section "-un.Папка"
  Delete "$INSTDIR\uninstall.exe"
  ; Removed only when empty: kept items keep their folder.
  RMDir "$INSTDIR"
SectionEnd

; The panel's language as its settings keep it, "Language" in its section of
; tilerack.INI, in the file the panel reads: the user's own settings folder
; where the file is there, else the Windows folder, or the user's folder
; where the Windows folder cannot be written. English is written; Russian,
; the panel's own default, only over a key already there.
Function WriteLanguageSetting
  StrCpy $1 "$WINDIR\tilerack.INI"
  ${If} ${FileExists} "$APPDATA\tilerack\tilerack.INI"
    StrCpy $1 "$APPDATA\tilerack\tilerack.INI"
  ${EndIf}
  ${If} $LANGUAGE == ${LANG_ENGLISH}
    StrCpy $2 "en"
  ${Else}
    ReadINIStr $2 "$1" "${SETTINGS_SECTION}" "Language"
    StrCmp $2 "" done
    StrCpy $2 "ru"
  ${EndIf}
  ClearErrors
  WriteINIStr "$1" "${SETTINGS_SECTION}" "Language" "$2"
  ${If} ${Errors}
    CreateDirectory "$APPDATA\tilerack"
    WriteINIStr "$APPDATA\tilerack\tilerack.INI" "${SETTINGS_SECTION}" "Language" "$2"
    FlushINI "$APPDATA\tilerack\tilerack.INI"
  ${EndIf}
  FlushINI "$1"
  done:
FunctionEnd

; The language: by default the Windows display language (Russian for
; Russian, Ukrainian and Belarusian, English for any other), or "/LANG=en"
; or "/LANG=ru" (a silent run asks nothing); then the language page.
Function ChooseLanguage
  System::Call 'kernel32::GetUserDefaultUILanguage() i .r0'
  IntOp $0 $0 & 0x3FF
  ${If} $0 = 0x19
  ${OrIf} $0 = 0x22
  ${OrIf} $0 = 0x23
    StrCpy $LANGUAGE ${LANG_RUSSIAN}
  ${Else}
    StrCpy $LANGUAGE ${LANG_ENGLISH}
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/LANG=" $1
  ${IfNot} ${Errors}
    ${If} $1 == "en"
      StrCpy $LANGUAGE ${LANG_ENGLISH}
      StrCpy $LanguageChosen 1
    ${ElseIf} $1 == "ru"
      StrCpy $LANGUAGE ${LANG_RUSSIAN}
      StrCpy $LanguageChosen 1
    ${EndIf}
  ${EndIf}
  ${IfNot} ${Silent}
    StrCpy $LanguageChosen 1
  ${EndIf}
  !insertmacro MUI_LANGDLL_DISPLAY
FunctionEnd

; Over an older installation the start at sign-in stays as the user left it.
Function .onInit
  Call ChooseLanguage
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "DisplayVersion"
  ${If} $0 != ""
    ReadRegStr $1 HKCU "${RUN_KEY}" "${PRODUCT}"
    ${If} $1 == ""
      !insertmacro UnselectSection ${SecSignIn}
    ${EndIf}
  ${EndIf}
FunctionEnd

; $0 := 1 when the installer runs elevated (from an administrator's prompt,
; winget in an administrator's terminal), else 0 (TokenElevation).
Function IsElevated
  StrCpy $0 0
  System::Call 'kernel32::GetCurrentProcess() p .r1'
  System::Call 'advapi32::OpenProcessToken(p r1, i 8, *p .r1) i .r2'
  ${If} $2 <> 0
    System::Call 'advapi32::GetTokenInformation(p r1, i 20, *i .r3, i 4, *i .r4) i .r2'
    System::Call 'kernel32::CloseHandle(p r1)'
    ${If} $2 <> 0
    ${AndIf} $3 <> 0
      StrCpy $0 1
    ${EndIf}
  ${EndIf}
FunctionEnd

; Starts the panel program on the stack in its own folder, as the user. An
; elevated installer hands the start to the shell, which runs it with the
; user's own token: started from here it would inherit the elevation, and an
; elevated panel gets no drops from Explorer, loses its tray icon when
; Explorer restarts and starts every item elevated.
Function StartPanelAsUser
  Exch $5
  ${GetParent} "$5" $6
  SetOutPath "$6"
  Call IsElevated
  ${If} $0 == 1
    Exec '"$WINDIR\explorer.exe" "$5"'
  ${Else}
    Exec '"$5"'
  ${EndIf}
  Pop $5
FunctionEnd

Function StartInstalledPanel
  Push "$INSTDIR\tilerack.exe"
  Call StartPanelAsUser
FunctionEnd

; A silent update gives the user back the panel it closed: the installed
; one from the new files, a copy from the zip from its own folder, started
; as the user even when the installer runs elevated. With no panel running
; before, none is started.
Function .onInstSuccess
  ${If} ${Silent}
  ${AndIf} $ClosedPanelProgram != ""
  ${AndIf} ${FileExists} "$ClosedPanelProgram"
    Push "$ClosedPanelProgram"
    Call StartPanelAsUser
  ${EndIf}
FunctionEnd

; "uninstall.exe /S /REMOVEUSERDATA" removes the items and settings too.
Function un.onInit
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "Language"
  ${If} $0 != ""
    StrCpy $LANGUAGE $0
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVEUSERDATA" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecUnUserData}
  ${EndIf}
FunctionEnd
