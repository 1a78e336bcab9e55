; The settings folder, Documents\Inkrun (Public Documents for an install for everyone), with the
; help page readme.htm that How To opens. As the Linux launcher does, the installer records the
; SHA-256 of the page it puts there in the hidden .readme.htm.sha256 beside it, and replaces the
; page on upgrade only while it is still unchanged: it matches the record, or the page that the
; install being replaced shipped (installers before this one kept no record). A page the user
; wrote or changed stays. The settings folder outlives the program: it holds the user's setups.

Var SettingsFolder
Var PreviousPageSum ; the SHA-256 of the page the install being replaced shipped, or ""

; Pops a file's path; pushes its SHA-256 in lower-case hex, or "" when it cannot be read.
Function InkrunFileSha256
  Exch $0
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  Push $6
  ClearErrors
  FileOpen $4 $0 r
  StrCpy $0 ""
  ${IfNot} ${Errors}
    ; CryptoAPI: the AES provider (PROV_RSA_AES, CRYPT_VERIFYCONTEXT), CALG_SHA_256.
    System::Call 'advapi32::CryptAcquireContextW(*p .r1, p 0, p 0, i 24, i 0xF0000000) i .r2'
    System::Call 'advapi32::CryptCreateHash(p r1, i 0x800C, p 0, i 0, *p .r3) i .r2'
    System::Alloc 65536
    Pop $5
    ${Do}
      System::Call 'kernel32::ReadFile(p r4, p r5, i 65536, *i .r6, p 0) i .r2'
      ${If} $2 = 0
      ${OrIf} $6 = 0
        ${ExitDo}
      ${EndIf}
      System::Call 'advapi32::CryptHashData(p r3, p r5, i r6, i 0) i .r2'
    ${LoopUntil} $2 = 0
    ${If} $2 <> 0
      System::Call 'advapi32::CryptGetHashParam(p r3, i 2, p r5, *i 32, i 0) i .r2'
    ${EndIf}
    ${If} $2 <> 0
      ; CRYPT_STRING_HEXRAW | CRYPT_STRING_NOCRLF
      System::Call 'crypt32::CryptBinaryToStringW(p r5, i 32, i 0x4000000c, w .r0, *i ${NSIS_MAX_STRLEN}) i .r2'
    ${EndIf}
    StrLen $6 $0
    StrCmp $6 64 +2
      StrCpy $0 ""
    System::Free $5
    System::Call 'advapi32::CryptDestroyHash(p r3)'
    System::Call 'advapi32::CryptReleaseContext(p r1, i 0)'
    FileClose $4
  ${EndIf}
  Pop $6
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; Makes the settings folder and keeps the help page there as above.
Function InkrunPlaceHelpPage
  Push $0
  Push $1
  Push $2
  Push $3
  StrCpy $SettingsFolder "$DOCUMENTS\Inkrun"
  CreateDirectory "$SettingsFolder"
  Push "$INSTDIR\readme.htm"
  Call InkrunFileSha256
  Pop $0
  StrCpy $3 1 ; whether to copy the page
  ${If} ${FileExists} "$SettingsFolder\readme.htm"
    Push "$SettingsFolder\readme.htm"
    Call InkrunFileSha256
    Pop $1
    StrCpy $2 ""
    ClearErrors
    FileOpen $3 "$SettingsFolder\.readme.htm.sha256" r
    ${IfNot} ${Errors}
      FileRead $3 $2 64
      FileClose $3
    ${EndIf}
    ${If} $1 == ""
      StrCpy $3 0 ; unreadable: left alone
    ${ElseIf} $1 == $0
      ; Already the page installed now: from now on a copy of ours.
      StrCpy $3 0
      ${If} $2 != $0
        Call InkrunRecordHelpPage
      ${EndIf}
    ${ElseIf} $1 == $2
    ${OrIf} $1 == $PreviousPageSum
      StrCpy $3 1
    ${Else}
      StrCpy $3 0
    ${EndIf}
  ${EndIf}
  ${If} $3 = 1
  ${AndIf} $0 != ""
    ; Copied under another name first, so that How To never opens half a page.
    Delete "$SettingsFolder\.readme.htm.new"
    CopyFiles /SILENT "$INSTDIR\readme.htm" "$SettingsFolder\.readme.htm.new"
    Delete "$SettingsFolder\readme.htm"
    Rename "$SettingsFolder\.readme.htm.new" "$SettingsFolder\readme.htm"
    Call InkrunRecordHelpPage
  ${EndIf}
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; Writes the record: the page's SHA-256 ($0) and a line end.
Function InkrunRecordHelpPage
  Push $1
  SetFileAttributes "$SettingsFolder\.readme.htm.sha256" NORMAL
  FileOpen $1 "$SettingsFolder\.readme.htm.sha256" w
  FileWrite $1 "$0$\r$\n"
  FileClose $1
  SetFileAttributes "$SettingsFolder\.readme.htm.sha256" HIDDEN
  Pop $1
FunctionEnd
