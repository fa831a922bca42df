; Nimbrel's setup program: installs Nimbrel.exe and its data files, registers
; the uninstall entry through which the program finds its directory, and
; writes the uninstaller. The user's own files, Nimbrel.cfg and
; signatures.ini, live in %APPDATA%\Nimbrel, which the program makes; the
; install folder's signatures.ini is the default it reads while the user has
; none.
;
; Built by scripts/build-setup, which passes:
;   /DARCH=x86|amd64     the program's architecture (x86 is the one shipped)
;   /DEXE=<path>         Nimbrel.exe of that architecture
;   /DDATA=<path>        the data directory (lang.ini, styles.css, ...)
;   /DICON=<path>        the setup's icon
;   /DOUTFILE=<path>     the setup program to write

Unicode true
!ifndef ARCH
    !define ARCH x86
!endif
!if "${ARCH}" == "amd64"
    Target amd64-unicode
!else
    Target x86-unicode
!endif
!ifndef EXE
    !error "EXE must be defined (use scripts/build-setup)"
!endif
!ifndef DATA
    !error "DATA must be defined (use scripts/build-setup)"
!endif
!ifndef ICON
    !error "ICON must be defined (use scripts/build-setup)"
!endif
!ifndef OUTFILE
    !error "OUTFILE must be defined (use scripts/build-setup)"
!endif

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "Sections.nsh"
!include "WinMessages.nsh"

!define VERSION "1.19.2"
!define PUBLISHER "Nimbrel developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Nimbrel"
!define RIGHTS_PROBE_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Nimbrel.setup"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define MAIN_DIALOG_CLASS "#32770"
!define MAIN_DIALOG_CAPTION "Nimbrel   "
; The options dialog's Terminate button: the program saves its settings and ends.
!define TERMINATE_COMMAND 1003
!define SETUP_MUTEX "Nimbrel-setup-running"
; How long a running Nimbrel may take to end, in steps of 100 ms.
!define END_WAIT_STEPS 100

Name "Nimbrel"
OutFile "${OUTFILE}"
!if "${ARCH}" == "amd64"
    InstallDir "$PROGRAMFILES64\Nimbrel"
!else
    InstallDir "$PROGRAMFILES\Nimbrel"
!endif
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ManifestSupportedOS all
BrandingText "Nimbrel ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Nimbrel"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Nimbrel setup"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "Free software by the ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartNimbrel
!define MUI_FINISHPAGE_RUN_TEXT "Start Nimbrel now"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\docs\index.html"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Show the user guide"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Set when this setup ended a running Nimbrel, which it then starts again.
Var endedRunning

; Ends a running Nimbrel as its Terminate button does, so that it saves its
; settings, and waits until its main dialog is gone. Sets $0 to 1 when one
; was running, and aborts when it would not end.
!macro DEFINE_END_RUNNING_NIMBREL prefix
Function ${prefix}EndRunningNimbrel
    StrCpy $0 0
    FindWindow $1 "${MAIN_DIALOG_CLASS}" "${MAIN_DIALOG_CAPTION}"
    ${If} $1 == 0
        Return
    ${EndIf}
    StrCpy $0 1
    DetailPrint "Ending the running Nimbrel"
    SendMessage $1 ${WM_COMMAND} ${TERMINATE_COMMAND} 0 /TIMEOUT=5000
    StrCpy $2 0
    ${Do}
        FindWindow $1 "${MAIN_DIALOG_CLASS}" "${MAIN_DIALOG_CAPTION}"
        ${If} $1 == 0
            ; Let the process finish writing Nimbrel.cfg and exit.
            Sleep 500
            Return
        ${EndIf}
        Sleep 100
        IntOp $2 $2 + 1
    ${LoopUntil} $2 >= ${END_WAIT_STEPS}
    MessageBox MB_OK|MB_ICONSTOP "Nimbrel is running and did not end when asked to.$\r$\nEnd it from its tray icon's Terminate command, then run this program again." /SD IDOK
    Abort
FunctionEnd
!macroend
!insertmacro DEFINE_END_RUNNING_NIMBREL ""
!insertmacro DEFINE_END_RUNNING_NIMBREL "un."

; Refuses a second copy of the setup program while one runs.
!macro REFUSE_SECOND_COPY
    System::Call 'kernel32::CreateMutexW(p 0, i 0, w "${SETUP_MUTEX}") p .r0 ?e'
    Pop $1
    ${If} $1 == 183
        MessageBox MB_OK|MB_ICONSTOP "Nimbrel's setup is already running." /SD IDOK
        Abort
    ${EndIf}
!macroend

Function .onInit
    !insertmacro REFUSE_SECOND_COPY
!if "${ARCH}" == "amd64"
    SetRegView 64
!endif
    SetShellVarContext all
FunctionEnd

Function un.onInit
    !insertmacro REFUSE_SECOND_COPY
!if "${ARCH}" == "amd64"
    SetRegView 64
!endif
    SetShellVarContext all
    Call un.ReadOptions
FunctionEnd

; Checks, before anything is changed, that the uninstall entry and the
; install folder can be written; says which cannot and aborts otherwise.
Function CheckRights
    ClearErrors
    WriteRegStr HKLM "${RIGHTS_PROBE_KEY}" "probe" "1"
    ${If} ${Errors}
        MessageBox MB_OK|MB_ICONSTOP "Setup cannot write the registry entry HKEY_LOCAL_MACHINE\${UNINSTALL_KEY}.$\r$\nRun it as an administrator. Nothing was installed." /SD IDOK
        Abort
    ${EndIf}
    DeleteRegKey HKLM "${RIGHTS_PROBE_KEY}"

    StrCpy $9 0
    ${IfNot} ${FileExists} "$INSTDIR\*.*"
        StrCpy $9 1
    ${EndIf}
    ClearErrors
    CreateDirectory "$INSTDIR"
    FileOpen $0 "$INSTDIR\nimbrel-setup.probe" w
    ${If} ${Errors}
        ${If} $9 == 1
            RMDir "$INSTDIR"
        ${EndIf}
        MessageBox MB_OK|MB_ICONSTOP "Setup cannot write to the folder$\r$\n$INSTDIR$\r$\nChoose another folder or run setup as an administrator. Nothing was installed." /SD IDOK
        Abort
    ${EndIf}
    FileClose $0
    Delete "$INSTDIR\nimbrel-setup.probe"
FunctionEnd

; Starts the installed Nimbrel as the logged-on user, not with this setup's
; administrator token: the shell that runs the user's desktop starts it (an
; elevated explorer.exe given a program hands it to the running one), so its
; Nimbrel.cfg is the user's, it may write it, and the taskbar's messages
; reach it.
Function StartNimbrel
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\Nimbrel.exe"'
FunctionEnd

; A signatures.ini that a setup before this one recorded as changed by the
; user (its file time differs from the one recorded) moves to the user's
; folder, unless the user has one there; the install folder's is the setup's
; default from now on, and the record goes.
Function MoveEditedSignatures
    ReadRegStr $6 HKLM "${UNINSTALL_KEY}" "SignaturesFileTime"
    ${If} $6 != ""
    ${AndIf} ${FileExists} "$INSTDIR\signatures.ini"
        GetFileTime "$INSTDIR\signatures.ini" $7 $8
        ${If} "$7.$8" != $6
            SetShellVarContext current
            ${IfNot} ${FileExists} "$APPDATA\Nimbrel\signatures.ini"
                DetailPrint "Moving your signatures.ini to $APPDATA\Nimbrel"
                CreateDirectory "$APPDATA\Nimbrel"
                CopyFiles /SILENT "$INSTDIR\signatures.ini" "$APPDATA\Nimbrel"
            ${EndIf}
            SetShellVarContext all
        ${EndIf}
    ${EndIf}
    DeleteRegValue HKLM "${UNINSTALL_KEY}" "SignaturesFileTime"
FunctionEnd

; Removes what a failed install wrote and aborts.
Function RollBack
    DetailPrint "Setup failed; removing what it installed"
    Delete "$INSTDIR\Nimbrel.exe"
    Delete "$INSTDIR\lang.ini"
    Delete "$INSTDIR\emoticons.ini"
    Delete "$INSTDIR\styles.css"
    Delete "$INSTDIR\donations.html"
    RMDir /r "$INSTDIR\emoticons"
    RMDir /r "$INSTDIR\docs"
    Delete "$INSTDIR\signatures.ini"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    MessageBox MB_OK|MB_ICONSTOP "Setup could not write all of Nimbrel's files to$\r$\n$INSTDIR$\r$\nNothing was installed." /SD IDOK
    Abort
FunctionEnd

Section "Nimbrel" SecProgram
    SectionIn RO
    Call CheckRights
    Call EndRunningNimbrel
    StrCpy $endedRunning $0

    Call MoveEditedSignatures
    SetOutPath "$INSTDIR"
    SetOverwrite on
    ClearErrors
    File "/oname=Nimbrel.exe" "${EXE}"
    File "${DATA}/lang.ini"
    File "${DATA}/emoticons.ini"
    File "${DATA}/styles.css"
    File "${DATA}/donations.html"
    File "${DATA}/signatures.ini"
    SetOutPath "$INSTDIR\emoticons"
    File "${DATA}/emoticons/*.gif"
    SetOutPath "$INSTDIR\docs"
    File /r "${DATA}/docs/*.*"
    SetOutPath "$INSTDIR"
    ${If} ${Errors}
        Call RollBack
    ${EndIf}

    WriteUninstaller "$INSTDIR\uninstall.exe"
    ${IfNot} ${FileExists} "$INSTDIR\uninstall.exe"
        Call RollBack
    ${EndIf}

    ClearErrors
    ; The program cuts this value at its last backslash to find its folder,
    ; so it stays unquoted.
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" "$INSTDIR\uninstall.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Nimbrel"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Nimbrel.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${If} ${Errors}
        Call RollBack
    ${EndIf}

    CreateDirectory "$SMPROGRAMS\Nimbrel"
    CreateShortCut "$SMPROGRAMS\Nimbrel\Nimbrel.lnk" "$INSTDIR\Nimbrel.exe"
    CreateShortCut "$SMPROGRAMS\Nimbrel\Nimbrel user guide.lnk" "$INSTDIR\docs\index.html"
    CreateShortCut "$SMPROGRAMS\Nimbrel\Uninstall Nimbrel.lnk" "$INSTDIR\uninstall.exe"
SectionEnd

; The Run value of the user who runs the setup: on Windows XP and on later
; Windows with an administrator account (elevated or not, the same user and
; registry hive) that is the logged-on user, whom the box speaks of. HKLM's Run
; would start Nimbrel, and its questions, for every account of the machine.
Section "Start Nimbrel when I log on" SecRunAtLogon
    WriteRegStr HKCU "${RUN_KEY}" "Nimbrel" '"$INSTDIR\Nimbrel.exe"'
SectionEnd

Function .onInstSuccess
    ; A Nimbrel that was running before the upgrade runs again afterwards.
    ${If} $endedRunning == 1
        Call StartNimbrel
    ${EndIf}
FunctionEnd

Section "un.Nimbrel" UnSecProgram
    SectionIn RO
    Call un.EndRunningNimbrel

    Delete "$INSTDIR\Nimbrel.exe"
    Delete "$INSTDIR\lang.ini"
    Delete "$INSTDIR\emoticons.ini"
    Delete "$INSTDIR\styles.css"
    Delete "$INSTDIR\donations.html"
    RMDir /r "$INSTDIR\emoticons"
    RMDir /r "$INSTDIR\docs"
    Delete "$INSTDIR\signatures.ini"

    Delete "$SMPROGRAMS\Nimbrel\Nimbrel.lnk"
    Delete "$SMPROGRAMS\Nimbrel\Nimbrel user guide.lnk"
    Delete "$SMPROGRAMS\Nimbrel\Uninstall Nimbrel.lnk"
    RMDir "$SMPROGRAMS\Nimbrel"
    DeleteRegValue HKCU "${RUN_KEY}" "Nimbrel"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
SectionEnd

; The user's folder; and a Nimbrel.cfg in the install folder, from a version
; that kept it there (or a user without an application data folder).
Section /o "un.Also remove my settings and signatures" UnSecUserFiles
    SetShellVarContext current
    Delete "$APPDATA\Nimbrel\Nimbrel.cfg"
    Delete "$APPDATA\Nimbrel\Nimbrel.cfg.tmp"
    Delete "$APPDATA\Nimbrel\signatures.ini"
    RMDir "$APPDATA\Nimbrel"
    SetShellVarContext all
    Delete "$INSTDIR\Nimbrel.cfg"
    RMDir "$INSTDIR"
SectionEnd

; /REMOVEUSERFILES on the uninstaller's command line ticks the box that
; removes the user's settings and signatures (for a silent uninstall).
Function un.ReadOptions
    ${un.GetParameters} $0
    ClearErrors
    ${un.GetOptions} $0 "/REMOVEUSERFILES" $1
    ${IfNot} ${Errors}
        !insertmacro SelectSection ${UnSecUserFiles}
    ${EndIf}
FunctionEnd
