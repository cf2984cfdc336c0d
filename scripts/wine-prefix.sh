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
  if [ -n "${LSU_XVFB_DIR:-}" ]; then
    rm -rf "$LSU_XVFB_DIR"
  fi
}
lsu_on_exit lsu_wine_cleanup

# Starts Xvfb on a display it picks itself (-displayfd: no race with another
# run choosing the same number) and returns once the server is up: it is
# alive, has written its display number and its socket exists. Fails, saying
# why, otherwise: without the display every window test would fail later for
# no visible reason.
lsu_start_display() {
  if [ -n "${DISPLAY:-}" ]; then return 0; fi
  if ! command -v Xvfb >/dev/null; then
    echo "Xvfb is not installed, and there is no display to run the windows on: run scripts/install-deps.sh" >&2
    return 1
  fi
  LSU_XVFB_DIR=$(mktemp -d /tmp/lstartup-xvfb.XXXXXX)
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$LSU_XVFB_DIR/display" >"$LSU_XVFB_DIR/log" 2>&1 &
  LSU_XVFB_PID=$!
  local display=""
  for _ in $(seq 100); do
    if ! kill -0 "$LSU_XVFB_PID" 2>/dev/null; then
      echo "Xvfb could not start a virtual display; it said:" >&2
      sed 's/^/    /' "$LSU_XVFB_DIR/log" >&2
      return 1
    fi
    display=$(tr -dc 0-9 <"$LSU_XVFB_DIR/display")
    if [ -n "$display" ] && [ -S "/tmp/.X11-unix/X$display" ]; then
      export DISPLAY=":$display"
      return 0
    fi
    sleep 0.1
  done
  echo "Xvfb (process $LSU_XVFB_PID) did not bring up a virtual display within 10 s${display:+: no socket for :$display}" >&2
  return 1
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
  # Initialising a prefix leaves two service managers running, each with a
  # list of services of its own, so that a service one of them created is
  # unknown to the other. Starting the prefix again starts one.
  wineserver -k
  wineserver -w
  wineserver -p
  wineboot >/dev/null 2>&1
  # A program that crashes ends with its backtrace in the output instead of
  # waiting behind Wine's crash dialog until the run times out.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  # The task scheduler is a service, stopped in a fresh prefix; after the
  # first boot the service manager times out starting it, after a restart of
  # the prefix it starts at once.
  wineserver -k
  wineserver -w
  wineserver -p
  wineboot >/dev/null 2>&1
  wine net start Schedule >/dev/null 2>&1
}
