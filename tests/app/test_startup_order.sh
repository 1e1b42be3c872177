#!/bin/sh
# The start-up order on a real X display: the main window, the quick-setup
# window in front of it, and the connect dialog on top. The program runs in
# demo mode (its own simulated device on 127.0.0.1) inside a network
# namespace with only the loopback interface when one can be made, so
# nothing can leave the machine either way.
#
# Usage: test_startup_order.sh PROGRAM   (exit 77: skipped, tools missing)
set -u
program=$1

for tool in Xvfb xdotool xwininfo; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIP: $tool is not installed"
    exit 77
  fi
done

if [ "${STARTUP_ORDER_INSIDE:-}" = "" ] && command -v ip >/dev/null 2>&1 && unshare -n true 2>/dev/null; then
  STARTUP_ORDER_INSIDE=1 exec unshare -n sh -c 'ip link set lo up && exec sh "$0" "$1"' "$0" "$program"
fi

work=$(mktemp -d)
xvfb=
app=
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
if [ ! -s "$work/display" ]; then
  echo "SKIP: Xvfb did not start"; cat "$work/xvfb.log"
  exit 77
fi
DISPLAY=:$(cat "$work/display")
export DISPLAY
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

"$program" --demo >"$work/program.log" 2>&1 &
app=$!

# Top-level windows, the one in front first.
stacking() { xwininfo -root -children | sed -n 's/^ *0x[0-9a-f]* "\([^"]*\)".*/\1/p'; }

for _ in $(seq 200); do
  xdotool search --onlyvisible --name '^Enter Access Point IP Address$' >/dev/null 2>&1 && break
  sleep 0.1
done
sleep 0.5
order=$(stacking | grep -x -e '   TARVO SNMP Manager' -e 'Corvane Access Point SNMP Manager' -e 'Enter Access Point IP Address')
expected=$(printf '%s\n' 'Enter Access Point IP Address' 'Corvane Access Point SNMP Manager' '   TARVO SNMP Manager')
if [ "$order" != "$expected" ]; then
  echo "FAIL: windows from front to back:"; echo "$order"
  echo "expected:"; echo "$expected"
  echo "--- program output"; cat "$work/program.log"
  exit 1
fi
echo "PASS: connect dialog, quick-setup window, main window (front to back)"
