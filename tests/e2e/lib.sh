# Shared steps of the end-to-end tests: the real program, started in a settings directory on a
# display of its own (tests/support/window_driver.sh).
INKRUN=$(realpath "${1:?usage: $0 path/to/inkrun}")
INKRUN_COMMAND=("$INKRUN")
source "$(dirname "${BASH_SOURCE[0]}")/../support/window_driver.sh"
