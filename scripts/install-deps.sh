#!/usr/bin/env bash
# Installs the Debian packages that are missing for the given stages (the lists in
# scripts/packages/), by default those of building build/, running the window and its tests:
#   bash scripts/install-deps.sh [STAGE...]
set -euo pipefail
source "$(dirname "$0")/lib/packages.sh"
if [ $# -eq 0 ]; then set -- linux-build linux-tests linux-run x-session; fi
require_packages "$@"
