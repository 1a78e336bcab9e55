# The bytes a build writes, stated once for the shell tests:
#   expected_script DIRECTORY SEPARATOR SETUP NAME...   prints, for each name in the order given,
# "_open", "DIRECTORY<SEPARATOR>NAME" in double quotes, the setup as given, each ended by CR LF.
# SETUP holds its own line breaks: pass it as $'zoom\r\nextents'.
expected_script() {
    local directory=$1 separator=$2 setup=$3 name
    shift 3
    for name in "$@"; do
        printf '_open\r\n"%s%s%s"\r\n%s\r\n' "$directory" "$separator" "$name" "$setup"
    done
}
