# Sourced by the test scripts: a throwaway Wine prefix with one persistent
# server, and a virtual display when there is none. Everything is removed
# again when the calling script exits, also when it is interrupted, alongside
# any EXIT trap of the calling script.
source "$(dirname "${BASH_SOURCE[0]}")/on-exit.sh"

lsu_wine_cleanup() {
  if [ -n "${LSU_PREFIX:-}" ]; then
    WINEPREFIX="$LSU_PREFIX" wineserver -k 2>/dev/null || true
    rm -rf "$LSU_PREFIX"
  fi
  if [ -n "${LSU_XVFB_PID:-}" ]; then
    kill "$LSU_XVFB_PID" 2>/dev/null || true
    wait "$LSU_XVFB_PID" 2>/dev/null || true  # so that its display is free again on return
  fi
}
lsu_on_exit lsu_wine_cleanup

lsu_start_display() {
  if [ -z "${DISPLAY:-}" ]; then
    local display=99
    while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
    Xvfb ":$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    LSU_XVFB_PID=$!
    export DISPLAY=":$display"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
  fi
}

lsu_start_throwaway_prefix() {
  LSU_PREFIX=$(mktemp -d /tmp/lstartup-prefix.XXXXXX)
  # No menu entries on the host for the links the tests write into Startup folders.
  export WINEPREFIX="$LSU_PREFIX" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  # One server for the whole run, started before the prefix is initialised so
  # that the initialisation and every test use it: Wine starts a prefix's
  # start-up entries whenever its server starts, and the tests seed such
  # entries.
  wineserver -p
  wineboot -i >/dev/null 2>&1
}
