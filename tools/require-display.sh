#!/usr/bin/env bash
# Says in one line why the viewer cannot start when no X display is usable.
if [[ -z "${DISPLAY:-}" ]]; then
  echo "verrine: no display (DISPLAY is not set); start it from a desktop session or under xvfb-run." >&2
  exit 1
fi
if command -v xdpyinfo >/dev/null && ! xdpyinfo >/dev/null 2>&1; then
  echo "verrine: the X display \"$DISPLAY\" cannot be opened." >&2
  exit 1
fi
