; The programs' folder on PATH: on the machine's PATH for an install for everyone, on the user's
; own for an install for one user. The list is edited with WordFunc's WordAdd, which compares
; entries without regard to case, as Windows does, and keeps every other entry as it stands.
; An NSIS string holds 1023 characters: a longer PATH is never written back cut short; the
; installer leaves it alone and says what to change by hand.
!include WordFunc.nsh

!define INKRUN_MACHINE_ENVIRONMENT "SYSTEM\CurrentControlSet\Control\Session Manager\Environment"
!define INKRUN_USER_ENVIRONMENT "Environment"

; Pops an operation ("+" to add, "-" to take off, "?" to ask) and then an entry; pushes
; "present" or "absent" for "?", else "changed", "unchanged" or "too long".
!macro INKRUN_EDIT_PATH_BODY ROOT KEY
  Exch $1
  Exch
  Exch $0
  Push $2
  Push $3
  Push $4
  StrCpy $3 ""
  ClearErrors
  ReadRegStr $2 ${ROOT} "${KEY}" "Path"
  ${If} ${Errors}
    ; No such value, or one too long to read.
    StrCpy $2 ""
    StrCpy $4 0
    ${Do}
      ClearErrors
      EnumRegValue $3 ${ROOT} "${KEY}" $4
      ${If} ${Errors}
      ${OrIf} $3 == ""
        StrCpy $3 ""
        ${ExitDo}
      ${EndIf}
      ${If} $3 == "Path"
        StrCpy $3 "too long"
        ${ExitDo}
      ${EndIf}
      StrCpy $3 ""
      IntOp $4 $4 + 1
    ${Loop}
  ${EndIf}
  ${If} $3 == ""
    ${WordAdd} $2 ";" "-$0" $4
    ${If} $1 == "?"
      StrCpy $3 "absent"
      StrCmp $4 $2 +2
        StrCpy $3 "present"
    ${ElseIf} $1 == "-"
      StrCpy $3 "unchanged"
      ${If} $4 != $2
        StrCpy $3 "changed"
      ${EndIf}
    ${ElseIf} $4 != $2
      StrCpy $3 "unchanged"
    ${Else}
      StrLen $3 $2
      StrLen $4 $0
      IntOp $3 $3 + $4
      ${If} $3 > 1021
        StrCpy $3 "too long"
      ${Else}
        ${WordAdd} $2 ";" "+$0" $4
        StrCpy $3 "changed"
      ${EndIf}
    ${EndIf}
    ${If} $3 == "changed"
      ${If} $4 == ""
        DeleteRegValue ${ROOT} "${KEY}" "Path"
      ${Else}
        WriteRegExpandStr ${ROOT} "${KEY}" "Path" $4
      ${EndIf}
    ${EndIf}
  ${EndIf}
  StrCpy $0 $3
  Pop $4
  Pop $3
  Pop $2
  Exch
  Pop $1
  Exch $0
!macroend

!macro INKRUN_PATH_FUNCTIONS UN

Function ${UN}InkrunEditMachinePath
  !insertmacro INKRUN_EDIT_PATH_BODY HKLM "${INKRUN_MACHINE_ENVIRONMENT}"
FunctionEnd

Function ${UN}InkrunEditUserPath
  !insertmacro INKRUN_EDIT_PATH_BODY HKCU "${INKRUN_USER_ENVIRONMENT}"
FunctionEnd

; Pops what an edit of entry $0 with operation $1 came to; says what could not be done, and
; announces a change to the running programs.
Function ${UN}InkrunPathOutcome
  Exch $2
  ${If} $2 == "too long"
    ${If} $1 == "+"
      StrCpy $2 "PATH is longer than this installer can change (1023 characters), so $0 was not put on it. Add it by hand in Windows' Environment Variables."
    ${Else}
      StrCpy $2 "PATH is longer than this installer can change (1023 characters), so $0 was not taken off it. Remove it by hand in Windows' Environment Variables."
    ${EndIf}
    DetailPrint "$2"
    MessageBox MB_OK|MB_ICONEXCLAMATION "$2" /SD IDOK
  ${ElseIf} $2 == "changed"
    SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
  ${EndIf}
  Pop $2
FunctionEnd

; Pops an entry and then "+" or "-": puts the entry on the mode's PATH or takes it off. An install
; for everyone keeps it on the machine's PATH only; the user's PATH may hold it from an older
; installer, which offered that.
Function ${UN}InkrunSetPath
  Exch $0
  Exch
  Exch $1
  Push $2
  ${If} $InstallMode == AllUsers
    Push $0
    Push $1
    Call ${UN}InkrunEditMachinePath
    Call ${UN}InkrunPathOutcome
    StrCpy $1 "-"
    Push $0
    Push $1
    Call ${UN}InkrunEditUserPath
    Call ${UN}InkrunPathOutcome
  ${Else}
    Push $0
    Push $1
    Call ${UN}InkrunEditUserPath
    Call ${UN}InkrunPathOutcome
  ${EndIf}
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

!macroend
!insertmacro INKRUN_PATH_FUNCTIONS ""
!insertmacro INKRUN_PATH_FUNCTIONS "un."

; Pops an entry; pushes 1 when the mode's PATH holds it, else 0.
Function InkrunOnPath
  Exch $0
  Push $1
  Push $0
  Push "?"
  Call InkrunEditUserPath
  Pop $1
  ${If} $1 != "present"
  ${AndIf} $InstallMode == AllUsers
    Push $0
    Push "?"
    Call InkrunEditMachinePath
    Pop $1
  ${EndIf}
  StrCpy $0 0
  StrCmp $1 "present" 0 +2
    StrCpy $0 1
  Pop $1
  Exch $0
FunctionEnd
