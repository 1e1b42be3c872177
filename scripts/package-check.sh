#!/usr/bin/env bash
# The Debian package, checked as a user would meet it, on this machine:
#   1. builds it (make package) and checks it with lintian, and its desktop
#      entry and AppStream metadata with their validators;
#   2. installs it with dpkg -i (apt-get install -f brings what it needs);
#   3. runs the installed programs: each finds its data in /usr/share;
#   4. an ordinary user's console opens the trap port 162 on 127.0.0.1
#      (the capability the package grants), and a copy without it cannot;
#   5. purges the package: no file and no capability left.
# Needs root (it installs a package and makes a throwaway user) and runs
# only on loopback: no program here sends anything.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD=${BUILD:-build}
PACKAGE=corvane-manager
CONSOLE=/usr/bin/corvane-manager
checker="corvane-check-$$"
step_started=$SECONDS
failures=0

step() {
  local now=$SECONDS
  [ -n "${step_name:-}" ] && printf '   (%ss)\n' "$((now - step_started))"
  step_name=$1
  step_started=$now
  printf '== %s\n' "$step_name"
}
fail() {
  printf 'FAIL: %s\n' "$*" >&2
  failures=$((failures + 1))
}
expect_line() {  # expect_line TEXT LINE: TEXT holds LINE as a whole line
  grep -qxF -- "$2" <<<"$1" || fail "expected the line '$2' in:"$'\n'"$1"
}

if [ "$(id -u)" -ne 0 ]; then
  echo "package-check: needs root (dpkg -i, useradd)" >&2
  exit 1
fi
if dpkg-query -W -f='${Status}' "$PACKAGE" 2>/dev/null | grep -q "installed"; then
  echo "package-check: $PACKAGE is installed already; remove it first (dpkg --purge $PACKAGE)" >&2
  exit 1
fi

installed=0
cleanup() {
  id "$checker" >/dev/null 2>&1 && userdel --remove "$checker" 2>/dev/null
  [ "$installed" = 1 ] && dpkg --purge "$PACKAGE" >/dev/null 2>&1
  return 0
}
trap cleanup EXIT

step "tools: lintian, desktop-file-validate, appstreamcli"
missing=()
for tool in lintian:lintian desktop-file-validate:desktop-file-utils appstreamcli:appstream; do
  command -v "${tool%%:*}" >/dev/null 2>&1 || missing+=("${tool#*:}")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

step "make package"
make --no-print-directory package BUILD="$BUILD" >/dev/null
deb=$(ls -t "$BUILD"/${PACKAGE}_*.deb | head -n 1)
echo "$deb"
dpkg-deb --info "$deb" | sed -n 's/^ \(Depends\|Version\|Installed-Size\):/  \1:/p'

step "lintian, desktop-file-validate, appstreamcli validate"
# Errors fail the check; warnings and notes are shown for the record.
lintian_status=0
lintian_out=$(lintian --display-info --pedantic --fail-on error "$deb" 2>&1) || lintian_status=$?
lintian_out=$(grep -v '^running with root' <<<"$lintian_out" || true)
printf '%s\n' "${lintian_out:-lintian: nothing to report}" | sed 's/^/  /'
[ "$lintian_status" -eq 0 ] || fail "lintian reports errors"
scratch=$(mktemp -d)
dpkg-deb --extract "$deb" "$scratch"
desktop-file-validate "$scratch/usr/share/applications/$PACKAGE.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net --pedantic "$scratch"/usr/share/metainfo/*.metainfo.xml || fail "appstreamcli validate"
rm -rf "$scratch"

step "dpkg -i"
installed=1
if ! dpkg -i "$deb" >/dev/null 2>&1; then
  echo "  dependencies missing: apt-get install -f"
  DEBIAN_FRONTEND=noninteractive apt-get install -f -y -qq >/dev/null
fi
dpkg-query -W -f='${Status}\n' "$PACKAGE" | grep -q "install ok installed" || fail "$PACKAGE not installed"
getcap "$CONSOLE" | grep -q "cap_net_bind_service=ep" || fail "the console lacks cap_net_bind_service: $(getcap "$CONSOLE")"

step "the installed programs"
version=$(corvane-manager --version)
expect_line "$version" "corvane-manager $(dpkg-query -W -f='${Version}' "$PACKAGE")"
apsim --help | grep -q "^Usage: apsim" || fail "apsim --help"
if [ -x /usr/bin/corvanectl ]; then
  corvanectl --version || fail "corvanectl --version"
fi
if [ -x /usr/bin/corvane-exporter ]; then
  corvane-exporter --version || fail "corvane-exporter --version"
fi
for page in $(dpkg -L "$PACKAGE" | grep '^/usr/share/man/man1/'); do
  program=$(basename "$page" .1.gz)
  [ -x "/usr/bin/$program" ] || fail "manual page $page names no program"
done

step "an ordinary user's console: data found, trap port 162 on 127.0.0.1"
useradd --create-home --shell /usr/sbin/nologin "$checker"
home=$(getent passwd "$checker" | cut -d: -f6)
as_checker() { runuser -u "$checker" -- env -i HOME="$home" PATH=/usr/bin:/bin "$@"; }
report=$(as_checker corvane-manager --check --trap-address 127.0.0.1 2>/dev/null) || fail "--check as $checker"
printf '%s\n' "$report" | sed 's/^/  /'
expect_line "$report" "MIB file: /usr/share/$PACKAGE/CorvaneMIB.mib"
expect_line "$report" "Help file: /usr/share/$PACKAGE/SNMPHelp.qhc"
expect_line "$report" "Trap log: $home/.local/share/$PACKAGE/TrapLog.txt"
expect_line "$report" "Trap port: UDP 127.0.0.1:162 opens"
# The console itself, offscreen: it opens the trap port on 127.0.0.1 and
# then gives up its capability. It sends nothing: its connect dialog waits.
as_checker CORVANE_LOOPBACK_ONLY=1 QT_QPA_PLATFORM=offscreen corvane-manager --trap-address 127.0.0.1 \
  >/dev/null 2>&1 &
console_pid=$!
dropped=""
for _ in $(seq 1 100); do
  pid=$(pgrep -u "$checker" -x corvane-manager || true)
  if [ -n "$pid" ] && grep -q '^CapPrm:[[:space:]]*0*$' "/proc/$pid/status" 2>/dev/null; then
    dropped=$pid
    break
  fi
  sleep 0.1
done
if [ -n "$dropped" ]; then
  # 0100007F:00A2 is 127.0.0.1:162 as the kernel lists UDP sockets.
  grep -q ' 0100007F:00A2 ' /proc/net/udp || fail "the running console holds no socket on 127.0.0.1:162"
  echo "  the running console: trap port 127.0.0.1:162 open, capabilities given up"
else
  fail "the running console kept its capabilities (or did not start)"
fi
kill "$console_pid" 2>/dev/null || true
[ -n "$dropped" ] && kill "$dropped" 2>/dev/null || true
wait "$console_pid" 2>/dev/null || true

# Without the capability the same user may not: the check above shows the
# package's doing, not a machine that lets anyone open low ports.
if [ "$(cat /proc/sys/net/ipv4/ip_unprivileged_port_start 2>/dev/null || echo 1024)" -le 162 ]; then
  echo "  this machine lets every user open port 162 (ip_unprivileged_port_start): no control run"
else
  plain="$home/corvane-manager-without-capability"
  cp "$CONSOLE" "$plain" && chown "$checker" "$plain"
  control=$(as_checker "$plain" --check --trap-address 127.0.0.1 2>/dev/null || true)
  grep -q "^Trap port: Traps cannot be received: port 162 needs administrator rights" <<<"$control" ||
    fail "a copy without the capability opened port 162:"$'\n'"$control"
  echo "  without the capability: $(grep '^Trap port' <<<"$control")"
fi

step "dpkg --purge"
dpkg --purge "$PACKAGE" >/dev/null
installed=0
[ ! -e "$CONSOLE" ] || fail "$CONSOLE is still there"
[ ! -e "/usr/share/$PACKAGE" ] || fail "/usr/share/$PACKAGE is still there"
leftover=$(getcap -r /usr/bin 2>/dev/null | grep -i corvane || true)
[ -z "$leftover" ] || fail "a capability is left: $leftover"
if dpkg-query -W "$PACKAGE" >/dev/null 2>&1 && dpkg-query -W -f='${Status}' "$PACKAGE" | grep -qv "not-installed"; then
  fail "dpkg still knows $PACKAGE: $(dpkg-query -W -f='${Status}' "$PACKAGE")"
fi
step "done"

if [ "$failures" -gt 0 ]; then
  echo "package-check: $failures failure(s)" >&2
  exit 1
fi
echo "package-check: all well"
