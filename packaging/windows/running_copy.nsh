; A running copy of the program is asked to close before its files are replaced or removed, the
; way a second copy asks it: WM_CLOSE (1, 1) to the window of our class and title. It then keeps
; an unsaved setup as it does at any close. The installer waits for the process to end, at most
; INKRUN_CLOSE_WAIT_MS, and says so when it does not; the person may close it and try again.
!define INKRUN_CLOSE_WAIT_MS 10000

!macro INKRUN_RUNNING_COPY_FUNCTION UN
Function ${UN}InkrunCloseRunningCopy
  Push $0
  Push $1
  Push $2
  Push $3
  inkrun_close_next:
    FindWindow $0 "${WINDOW_CLASS}" "${WINDOW_TITLE}"
    IntPtrCmp $0 0 inkrun_closed
    DetailPrint "Closing the running ${PRODUCT}"
    StrCpy $1 0
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
    ; SYNCHRONIZE: enough to wait for the end.
    System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .r2'
    System::Call 'user32::PostMessageW(p r0, i ${WM_CLOSE}, p 1, p 1)'
    StrCpy $3 258 ; WAIT_TIMEOUT
    ${If} $2 P<> 0
      System::Call 'kernel32::WaitForSingleObject(p r2, i ${INKRUN_CLOSE_WAIT_MS}) i .r3'
      System::Call 'kernel32::CloseHandle(p r2)'
    ${EndIf}
    IntCmp $3 0 inkrun_close_next
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} is still running and did not close when asked. Close it, then choose Retry." /SD IDCANCEL IDRETRY inkrun_close_next
    DetailPrint "${PRODUCT} is still running and did not close when asked; nothing was changed."
    Abort
  inkrun_closed:
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro INKRUN_RUNNING_COPY_FUNCTION ""
!insertmacro INKRUN_RUNNING_COPY_FUNCTION "un."
