# One setup file, one script: the Windows window reads a setup with LF, CR or mixed line ends, or
# UTF-8 behind a byte-order mark, as its rich-text editor would, and builds the script
# inkrun-build.exe builds from it; a line typed into it ends in CR LF as well.
source "$(dirname "$0")/lib.sh"
BUILD_EXE=${INKRUN_BUILD_EXE:?the path of inkrun-build.exe}

mkdir -p "$WORK/settings" "$WORK/jobs"
touch "$WORK/jobs/A-101.dwg"
printf '%s' "$(winpath "$WORK/jobs")" >"$WORK/settings/DefaultFile.txt"
start_display

# Each file (printf's format), and the setup the editor holds, in the code page.
files=('zoom\nextents\n' 'zoom\rextents' '\xef\xbb\xbfcaf\xc3\xa9\r\r\nx\n\r_plot')
held=('zoom\r\nextents\r\n' 'zoom\r\nextents' 'caf\xe9 x\r\n\r\n_plot')
build_in_window() {
    rm -f "$WORK/jobs/Inkrun.scr"
    keys "$main" alt+t b
    keys "$(wait_window '^Inkrun$')" Return
    wait_no_window '^Inkrun$'
}
for i in "${!files[@]}"; do
    printf "${files[$i]}" >"$WORK/settings/Setup1.txt"
    printf -v setup "${held[$i]}"
    (cd "$WORK/settings" && wine "$BUILD_EXE" --all -o - >"$WORK/expected.scr" 2>"$WORK/build.log") ||
        fail "inkrun-build.exe refused ${files[$i]}"
    expected_script "$(winpath "$WORK/jobs")" '\' "$setup" A-101.dwg | cmp -s - "$WORK/expected.scr" ||
        fail "inkrun-build.exe did not read ${files[$i]} as the editor does"
    start_inkrun "$WORK/settings"
    main=$(wait_window '^Inkrun Script Builder$')
    keys "$main" Home shift+End
    build_in_window
    expect_file "$WORK/jobs/Inkrun.scr" "$WORK/expected.scr"

    keys "$main" Tab Tab Tab ctrl+End Return
    type_text "$main" "_quit"
    build_in_window
    expected_script "$(winpath "$WORK/jobs")" '\' "$setup"$'\r\n_quit' A-101.dwg >"$WORK/typed.scr"
    expect_file "$WORK/jobs/Inkrun.scr" "$WORK/typed.scr"
    keys "$main" alt+f x
    wait_exit "$INKRUN_PID" 30
    rm -f "$WORK/settings"/Setup.unsaved*.txt "$WORK/settings/.Setup.unsaved.told"
    pass "the window builds what inkrun-build.exe builds from ${files[$i]}, and typed lines end in CR LF"
done
echo "PASS: one setup file gives one script in the Windows window and inkrun-build.exe"
