# The Debian packages each stage needs, installed when missing. Sourced by the scripts in scripts/.
#   require_packages STAGE...   installs what the lists scripts/packages/STAGE.txt name and this
#                               machine lacks; nothing, not even a package index update, when none
# Another install, or a desktop's automatic update, may hold the package manager's lock: it is
# waited for, saying so, for at most INKRUN_APT_LOCK_WAIT seconds (300 unless set).

INKRUN_PACKAGE_LISTS="$(cd "$(dirname "${BASH_SOURCE[0]}")/../packages" && pwd)"

# The packages of the stages, one a line, each once.
packages_of() {
    local stage
    for stage in "$@"; do
        [ -f "$INKRUN_PACKAGE_LISTS/$stage.txt" ] || { echo "no package list $INKRUN_PACKAGE_LISTS/$stage.txt" >&2; return 2; }
    done
    for stage in "$@"; do sed -e 's/#.*//' "$INKRUN_PACKAGE_LISTS/$stage.txt"; done | tr -s ' \t' '\n' | grep . | awk '!seen[$0]++'
}

_package_installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

# apt-get with its arguments, run again while another program holds the package manager's lock.
_apt_get_waiting() {
    local deadline=$((SECONDS + ${INKRUN_APT_LOCK_WAIT:-300})) output status said=false holder
    local -a sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    while :; do
        status=0
        output=$("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -q -o DPkg::Lock::Timeout=0 "$@" 2>&1) || status=$?
        [ $status -eq 0 ] && return 0
        holder=$(grep -m1 -E 'Could not get lock|Unable to acquire the dpkg frontend lock|Unable to lock' <<<"$output") || {
            echo "$output" >&2
            echo "apt-get $* failed (exit $status)" >&2
            return $status
        }
        if [ $SECONDS -ge $deadline ]; then
            echo "The package manager is still locked after ${INKRUN_APT_LOCK_WAIT:-300} s: ${holder#E: }" >&2
            echo "Let the other installation or update finish, then run this again (INKRUN_APT_LOCK_WAIT sets the wait)." >&2
            return 1
        fi
        $said || echo "Waiting for the package manager, which another program holds (at most ${INKRUN_APT_LOCK_WAIT:-300} s): ${holder#E: }" >&2
        said=true
        sleep 3
    done
}

require_packages() {
    local package packages
    local -a missing=()
    packages=$(packages_of "$@") || return
    for package in $packages; do
        _package_installed "$package" || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    _apt_get_waiting update -qq >/dev/null &&
        _apt_get_waiting install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}
