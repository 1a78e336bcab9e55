; For whom the program is installed: everyone who uses the computer (AllUsers: Program Files, the
; machine's part of the registry, the shared shell folders) or the user alone (CurrentUser:
; AppData\Local\Programs, the user's part, the user's shell folders), as MultiUser.nsh names them.
; The installer runs with the rights it was started with; an install for everyone without
; administrator rights starts the installer again with them (Windows asks), and this copy waits
; for it and ends with its exit code. The uninstaller does the same for an install for everyone.

Var InstallMode     ; AllUsers or CurrentUser
Var ModeGiven       ; 1 when /AllUsers or /CurrentUser chose it
Var FolderGiven     ; 1 when /D= chose the folder
Var Elevated        ; 1 with administrator rights
Var PreviousFolder  ; where this program is installed already, for the mode chosen
Var Parameters      ; the command line after the program's name; NSIS keeps /D= and _?= apart
Var ModeAllButton
Var ModeMeButton

!macro INKRUN_MODE_FUNCTIONS UN

; Reads the mode from the command line; sets ModeGiven.
Function ${UN}InkrunModeSwitch
  Push $0
  StrCpy $ModeGiven 0
  ClearErrors
  ${${UN}GetOptions} $Parameters "/AllUsers" $0
  ${IfNot} ${Errors}
    StrCpy $InstallMode AllUsers
    StrCpy $ModeGiven 1
  ${EndIf}
  ClearErrors
  ${${UN}GetOptions} $Parameters "/CurrentUser" $0
  ${IfNot} ${Errors}
    StrCpy $InstallMode CurrentUser
    StrCpy $ModeGiven 1
  ${EndIf}
  ClearErrors
  UserInfo::GetAccountType
  Pop $0
  StrCpy $Elevated 0
  StrCmp $0 "Admin" 0 +2
    StrCpy $Elevated 1
  Pop $0
FunctionEnd

; Runs this program again with administrator rights, /AllUsers and the parameters given, waits for
; it and ends with its exit code. Returns only when Windows did not start it (the user declined),
; with the error flag set.
Function ${UN}InkrunRunElevated
  Exch $0   ; the parameters for the new copy
  Push $1
  Push $2
  Push $3
  ; SHELLEXECUTEINFOW as 64-bit Windows lays it out (112 bytes); SEE_MASK_NOCLOSEPROCESS and
  ; SEE_MASK_NOASYNC.
  System::Call '*(i 112, i 0x140, p $HWNDPARENT, w "runas", w "$EXEPATH", w "/AllUsers $0", p 0, i 1, \
                  i 0, p 0, p 0, p 0, p 0, i 0, i 0, p 0, p 0) p .r1'
  System::Call 'shell32::ShellExecuteExW(p r1) i .r2'
  System::Call '*$1(i, i, p, p, p, p, p, i, i, p, p, p, p, i, i, p, p .r3)'
  System::Free $1
  ${If} $2 = 0
  ${OrIf} $3 = 0
    Pop $3
    Pop $2
    Pop $1
    Pop $0
    SetErrors
    Return
  ${EndIf}
  HideWindow
  System::Call 'kernel32::WaitForSingleObject(p r3, i -1)'
  System::Call 'kernel32::GetExitCodeProcess(p r3, *i .r2)'
  System::Call 'kernel32::CloseHandle(p r3)'
  SetErrorLevel $2
  Quit
FunctionEnd

; Where this program stands already in the mode's part of the registry, or "". Installers before
; this one wrote no InstallLocation: their UninstallString is "FOLDER\Uninstall.exe".
Function ${UN}InkrunFindPrevious
  Push $0
  ReadRegStr $PreviousFolder SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $PreviousFolder == ""
    ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "UninstallString"
    ${${UN}WordFind} $0 "\Uninstall.exe" "E+1{" $PreviousFolder
    ${If} ${Errors}
      StrCpy $PreviousFolder ""
    ${EndIf}
    StrCpy $0 $PreviousFolder 1
    ${If} $0 == '"'
      StrCpy $PreviousFolder $PreviousFolder "" 1
    ${EndIf}
  ${EndIf}
  ClearErrors
  Pop $0
FunctionEnd

; The shell folders and registry part of the mode; for the installer also the folder offered.
Function ${UN}InkrunApplyMode
  ${If} $InstallMode == AllUsers
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
  Call ${UN}InkrunFindPrevious
  !if "${UN}" == ""
    ${If} $FolderGiven != 1
      ${If} $PreviousFolder != ""
        StrCpy $INSTDIR $PreviousFolder
      ${ElseIf} $InstallMode == AllUsers
        StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
      ${Else}
        GetKnownFolderPath $INSTDIR {5CD7AEE2-2219-4A67-B85D-6C9CE15660CB} ; FOLDERID_UserProgramFiles
        StrCmp $INSTDIR "" 0 +2
          StrCpy $INSTDIR "$LOCALAPPDATA\Programs"
        StrCpy $INSTDIR "$INSTDIR\${PRODUCT}"
      ${EndIf}
    ${EndIf}
  !endif
FunctionEnd

!macroend
!insertmacro INKRUN_MODE_FUNCTIONS ""
!insertmacro INKRUN_MODE_FUNCTIONS "un."

; The installer's start: the mode from the command line, else the mode of an install there is
; (this user's first), else for everyone, as installs before this one always were.
Function InkrunInitMode
  ${GetParameters} $Parameters
  StrCpy $FolderGiven 0
  StrCmp $INSTDIR "" +2
    StrCpy $FolderGiven 1
  StrCpy $InstallMode AllUsers
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  StrCmp $0 "" +2
    StrCpy $InstallMode CurrentUser
  Call InkrunModeSwitch
  Call InkrunApplyMode
  ; Chosen without the page: rights are asked for now.
  ${If} $InstallMode == AllUsers
  ${AndIf} $Elevated != 1
    ${If} $ModeGiven = 1
    ${OrIf} ${Silent}
      Call InkrunElevatedParameters
      Call InkrunRunElevated
      MessageBox MB_OK|MB_ICONSTOP "Installing for everyone who uses this computer needs administrator rights." /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

; Pushes the parameters that carry this run's choices over to a copy with administrator rights.
Function InkrunElevatedParameters
  Push $Parameters
  ${If} $FolderGiven = 1
    Exch $0
    StrCpy $0 "$0 /D=$INSTDIR"
    Exch $0
  ${EndIf}
FunctionEnd

; The uninstaller's start: the mode its entry in Settings > Apps names, else the part of the
; registry that names its folder.
Function un.InkrunInitMode
  ${un.GetParameters} $Parameters
  StrCpy $InstallMode CurrentUser
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  StrCmp $0 $INSTDIR 0 +2
    StrCpy $InstallMode AllUsers
  Call un.InkrunModeSwitch
  Call un.InkrunApplyMode
  ${If} $InstallMode == AllUsers
  ${AndIf} $Elevated != 1
    Push "$Parameters _?=$INSTDIR"
    Call un.InkrunRunElevated
    MessageBox MB_OK|MB_ICONSTOP "Removing an install for everyone who uses this computer needs administrator rights." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
FunctionEnd

;--------------------------------
; The first page: for everyone, or for me alone

Function InkrunModeShield
  ; Windows' shield on Next says that it will ask for rights.
  GetDlgItem $0 $HWNDPARENT 1
  ${NSD_GetState} $ModeAllButton $1
  ${If} $1 = ${BST_CHECKED}
  ${AndIf} $Elevated != 1
    SendMessage $0 ${BCM_SETSHIELD} 0 1
  ${Else}
    SendMessage $0 ${BCM_SETSHIELD} 0 0
  ${EndIf}
FunctionEnd

; nsDialogs hands a click's control to its function on the stack.
Function InkrunModeClicked
  Pop $0
  Call InkrunModeShield
FunctionEnd

Function InkrunModePage
  ${If} $ModeGiven = 1
    Abort
  ${EndIf}
  !insertmacro MUI_HEADER_TEXT "Choose Users" "Choose for whom to install ${PRODUCT}."
  nsDialogs::Create 1018
  Pop $0
  ReadEnvStr $1 USERNAME
  ${NSD_CreateRadioButton} 0 0 100% 12u "For &anyone who uses this computer"
  Pop $ModeAllButton
  ${NSD_CreateLabel} 12u 13u -12u 28u "Into Program Files. Needs administrator rights, which Windows asks for. The settings folder, with the setups, is Public Documents\Inkrun."
  Pop $0
  ${NSD_CreateRadioButton} 0 48u 100% 12u "Only for &me ($1)"
  Pop $ModeMeButton
  ${NSD_CreateLabel} 12u 61u -12u 28u "Into AppData\Local\Programs in your profile. Needs no administrator rights. The settings folder is Documents\Inkrun."
  Pop $0
  ${If} $InstallMode == AllUsers
    ${NSD_Check} $ModeAllButton
  ${Else}
    ${NSD_Check} $ModeMeButton
  ${EndIf}
  ${NSD_OnClick} $ModeAllButton InkrunModeClicked
  ${NSD_OnClick} $ModeMeButton InkrunModeClicked
  Call InkrunModeShield
  nsDialogs::Show
FunctionEnd

Function InkrunModePageLeave
  ${NSD_GetState} $ModeAllButton $0
  ${If} $0 = ${BST_CHECKED}
    StrCpy $InstallMode AllUsers
  ${Else}
    StrCpy $InstallMode CurrentUser
  ${EndIf}
  GetDlgItem $0 $HWNDPARENT 1
  SendMessage $0 ${BCM_SETSHIELD} 0 0
  ${If} $InstallMode == AllUsers
  ${AndIf} $Elevated != 1
    Call InkrunElevatedParameters
    Call InkrunRunElevated
    MessageBox MB_OK|MB_ICONEXCLAMATION "Installing for everyone who uses this computer needs administrator rights, which were not given. Choose 'Only for me' to install without them."
    Call InkrunModeShield
    Abort
  ${EndIf}
  Call InkrunApplyMode
  Call InkrunReadChoices
FunctionEnd
