#!/usr/bin/env bash
# Runs the benchmark programs; they talk to simulated access points, a trap
# sender and snmptrapd on 127.0.0.0/8 only. The windows need no screen for this.
set -euo pipefail
bin=$1
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
"$bin/bench_full_read" --rounds 300
"$bin/bench_trap_burst"
"$bin/bench_lossy_link" --drop-ratio 0.3 --connects 20
# 200 simulated devices on 127.0.1.1 and up, one apsim process.
"$bin/bench_fleet_read"
# corvanectl show of the same fleet, next to net-snmp and a shell loop of snmpget.
bash "$(dirname "$0")/../bench/ctl_show/ctl_show_bench.sh" "$bin"
if [ -x "$bin/bench_startup" ]; then "$bin/bench_startup" --runs 20; fi
# 200 simulated devices scraped at once through corvane-exporter (built with Qt HTTP Server).
if [ -x "$bin/bench_exporter" ]; then "$bin/bench_exporter" --seconds 5; fi
