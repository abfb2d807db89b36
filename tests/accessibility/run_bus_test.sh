#!/usr/bin/env bash
# Drives the windowed program over the real accessibility bus, the way a screen reader
# does: a virtual display (Xvfb), a private session bus (dbus-run-session), the AT-SPI bus
# and registry (at-spi-bus-launcher), and bus_flow.py as the client.
#
#   run_bus_test.sh PROGRAM
#
# Two passes: the whole flow in English (LANG=C), then the main window's names in German
# (LANG=de_DE.UTF-8, LANGUAGE=de), which must be the translations in the windows' catalog.
#
# The program runs with a scratch settings folder and a scratch temporary folder. Exits 77
# (skipped) only when a needed program is not installed; every process started here is
# ended on the way out, also after a failure or a timeout.
set -euo pipefail

program=$1
here=$(cd "$(dirname "$0")" && pwd)
python=/usr/bin/python3
launcher=/usr/libexec/at-spi-bus-launcher

skip() {
  echo "SKIP: $1"
  exit 77
}
for tool in Xvfb dbus-run-session dbus-send xdotool setsid flock timeout; do
  command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done
[ -x "$launcher" ] || skip "$launcher is not installed (at-spi2-core)"
[ -x "$python" ] || skip "$python is not installed"
"$python" -c 'import pyatspi' 2>/dev/null || skip "python3-pyatspi is not installed"
[ -x "$program" ] || { echo "FAIL: no program at $program"; exit 1; }

scratch=$(mktemp -d)
xvfb_pid=
session_pid=
cleanup() {
  # The session runs in a process group of its own: the bus, the launcher, the client and
  # the program all go with it.
  if [ -n "$session_pid" ]; then
    kill -TERM -- "-$session_pid" 2>/dev/null || true
    sleep 0.5
    kill -KILL -- "-$session_pid" 2>/dev/null || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$scratch"
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number to the given descriptor. Servers that
# pick a number at the same moment can take each other's socket, so the pick is made under
# a lock shared by every run of this test, and the display is used only once its socket is
# there and a client has reached it; else a new server is started.
start_display() {
  : >"$scratch/display"
  exec 4>>/tmp/quillmere-accessibility-xvfb.lock
  flock -w 30 4 || true
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" \
    >>"$scratch/xvfb.log" 2>&1 4>&- &
  xvfb_pid=$!
  for _ in $(seq 100); do
    if [ -s "$scratch/display" ]; then
      local number
      number=$(head -n 1 "$scratch/display")
      if [ -S "/tmp/.X11-unix/X$number" ] && kill -0 "$xvfb_pid" 2>/dev/null &&
        DISPLAY=":$number" xdotool getdisplaygeometry >/dev/null 2>&1; then
        exec 4>&-
        return 0
      fi
    fi
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  exec 4>&-
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  xvfb_pid=
  return 1
}
started=
for _ in 1 2 3; do
  if start_display; then
    started=1
    break
  fi
done
[ -n "$started" ] || { cat "$scratch/xvfb.log"; echo "FAIL: Xvfb did not start"; exit 1; }

mkdir -p "$scratch/config" "$scratch/tmp" "$scratch/runtime"
chmod 700 "$scratch/runtime"
export DISPLAY=":$(head -n 1 "$scratch/display")"
export XDG_CONFIG_HOME="$scratch/config" TMPDIR="$scratch/tmp" XDG_RUNTIME_DIR="$scratch/runtime"
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0

# Inside the private session bus: the accessibility bus, then the client, which starts the
# program itself. The session script ends the bus launcher whatever happens.
cat >"$scratch/session.sh" <<'INNER'
#!/usr/bin/env bash
set -euo pipefail
launcher=$1 python=$2 flow=$3
shift 3
"$launcher" --launch-immediately >"$TMPDIR/../launcher.log" 2>&1 &
launcher_pid=$!
trap 'kill "$launcher_pid" 2>/dev/null || true' EXIT
# The program asks the session bus for the accessibility bus once, at start: it must be
# there by then. Asking before the launcher owns its name would start a second launcher.
ready=
for _ in $(seq 100); do
  if dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
      org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q 'boolean true'; then
    ready=1
    break
  fi
  sleep 0.1
done
[ -n "$ready" ] || { echo "FAIL: the accessibility bus did not start"; exit 1; }
"$python" "$flow" "$@"
INNER
chmod +x "$scratch/session.sh"

# One round on a fresh session bus and fresh settings and temporary folders, in the language
# given ("C" for English): run_round LANGUAGE LOCALE [FLOW ARGUMENTS...].
run_round() {
  local language=$1 locale=$2
  shift 2
  rm -rf "$scratch/config" "$scratch/tmp"
  mkdir -p "$scratch/config" "$scratch/tmp"
  LANGUAGE=$language LANG=$locale LC_ALL=$locale \
    setsid timeout --kill-after=10 240 dbus-run-session -- \
    "$scratch/session.sh" "$launcher" "$python" "$here/bus_flow.py" "$program" "$@" &
  session_pid=$!
  status=0
  wait "$session_pid" || status=$?
  session_pid=
}
# One pass: a second round only after a failed first one: the buses and the display server
# start on their own clocks, and a rare slow start should not fail the run. What the first
# round printed stays in the output, so a recurring problem is still seen.
run_pass() {
  run_round "$@"
  if [ "$status" -ne 0 ]; then
    echo "NOTE: the first round ($1) ended with status $status; one more round on a fresh session"
    [ -s "$scratch/program.log" ] && { echo "program (first round):"; cat "$scratch/program.log"; }
    run_round "$@"
  fi
  if [ "$status" -ne 0 ]; then
    echo "FAIL: the round over the accessibility bus ($1) ended with status $status"
    [ -s "$scratch/launcher.log" ] && { echo "accessibility bus launcher:"; cat "$scratch/launcher.log"; }
    if kill -0 "$xvfb_pid" 2>/dev/null; then xstate=running; else xstate=ended; fi
    echo "Xvfb on $DISPLAY ($xstate; $(ls /tmp/.X11-unix 2>&1 | tr '\n' ' ')):"
    cat "$scratch/xvfb.log"
    exit "$status"
  fi
}
run_pass C C
run_pass de de_DE.UTF-8 de "$here/../../translations/windows_de.ts"
exit 0
