# Shared start of the launcher's window tests (sourced with the script's
# arguments): the window helpers, a private X server, and a scratch directory
# $work that goes at the end, with the launcher ($launcher) stopped.
LANZADOR=$(realpath "$1")
source "$(dirname "${BASH_SOURCE[0]}")/../../common/testing/gui_lib.sh"
gui_enter_xvfb "$@"

work=$(mktemp -d)
trap 'kill ${launcher:-} 2>/dev/null || true; rm -rf "$work"' EXIT
