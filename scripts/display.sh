# A private virtual display, 1366 x 768, with a real window manager: what the
# window tests and the benchmark expect. Sets DISPLAY and display_pids.
start_virtual_display() {
  local number=${1:-90}
  while [ -e "/tmp/.X${number}-lock" ]; do number=$((number + 1)); done
  export DISPLAY=":${number}"
  Xvfb "$DISPLAY" -screen 0 1366x768x24 -nolisten tcp >/dev/null 2>&1 &
  display_pids="$!"
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  openbox >/dev/null 2>&1 &
  display_pids="$display_pids $!"
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break
    sleep 0.1
  done
  unset WAYLAND_DISPLAY
}
