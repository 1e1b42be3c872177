#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need.
#   install-deps.sh        everything (make test, make bench)
#   install-deps.sh --run  only what builds the console and runs the demo
#                          (make run): no test peers, no Prometheus
# Idempotent: only missing packages are installed. Needs root or sudo.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  qt6-tools-dev qt6-tools-dev-tools libqt6help6   # the help window (Qt Help)
  qt6-charts-dev libqt6opengl6-dev                # the live statistics charts
  qt6-documentation-tools libqt6sql6-sqlite       # qhelpgenerator; help files are SQLite
  xvfb xauth                         # a display for make run on a headless machine
)
if [ "${1:-}" != "--run" ]; then
  packages+=(
  snmp smitools                      # independent SNMP peers for the tests
  snmptrapd                          # the trap receiver the trap benchmark compares with
  libsnmp-dev                        # net-snmp's library, the benchmarks' yardstick
  clang libclang-rt-14-dev           # libFuzzer for the fuzz targets
  xdotool x11-utils                  # the start-up order test looks at real windows
  qt6-httpserver-dev qt6-websockets-dev   # corvane-exporter (the HTTP server needs WebSockets' CMake files)
  prometheus                         # the exporter's tests: a real Prometheus scrapes it; promtool checks its output
  )
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sudo=""
elif command -v sudo >/dev/null 2>&1; then
  sudo="sudo"
else
  echo "These packages are missing and neither root nor sudo is available: ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
# The tests run their own Prometheus on a loopback port; the package's
# service (which would listen on every address) stays off where systemd runs.
if [[ " ${missing[*]} " == *" prometheus "* ]] && [ -d /run/systemd/system ]; then
  $sudo systemctl disable --now prometheus.service >/dev/null 2>&1 || true
fi
