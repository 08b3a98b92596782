#!/usr/bin/env bash
# Runs one Windows test on the desktop CTest lent it (see start_desktops in common.sh): its own
# display and Wine prefix. Run outside such a run, the test uses the current ones.
# Usage: on-desktop.sh <command> [arguments...]
desktop="${CTEST_RESOURCE_GROUP_0_DESKTOPS:-}"
if [ -n "$desktop" ] && [ -n "${TERVANE_DESKTOPS_DIR:-}" ]; then
  id="${desktop#id:}"
  id="${id%%,*}"
  # shellcheck disable=SC1090  # written by start_desktops
  source "$TERVANE_DESKTOPS_DIR/$id.env"
fi
exec "$@"
