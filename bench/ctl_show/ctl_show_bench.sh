#!/usr/bin/env bash
# corvanectl show of 200 simulated devices that answer after 20 ms (the
# probe and the eight reads of each, as the console's connect does), in the
# same run as net-snmp's asynchronous library reading the same nine
# exchanges (bench_fleet_read) and as a shell loop of snmpget (one snmpget
# per device asking every object of the nine requests at once, as an
# administrator would write it). Everything goes to 127.0.1.x only.
#
#   ctl_show_bench.sh BIN_DIR [DEVICES] [DELAY_MS] [RUNS]
set -euo pipefail
bin=$1
devices=${2:-200}
delay=${3:-20}
runs=${4:-3}
port=${CTL_BENCH_PORT:-21161}
export CORVANE_LOOPBACK_ONLY=1
src=$(cd "$(dirname "$0")/../.." && pwd)
last=127.0.1.$devices
if [ "$devices" -gt 254 ]; then echo "ctl_show_bench: at most 254 devices" >&2; exit 2; fi

work=$(mktemp -d)
"$bin/apsim" --address 127.0.1.1 --count "$devices" --port "$port" --delay-ms "$delay" >"$work/apsim.log" 2>&1 &
apsim=$!
trap 'kill $apsim 2>/dev/null; wait $apsim 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do
    grep -q "127.0.1.$devices" "$work/apsim.log" 2>/dev/null && break
    sleep 0.1
done

now() { date +%s.%N; }
ms() { echo "($2 - $1) * 1000" | bc -l; }
median() { sort -n | awk '{a[NR]=$1} END {printf "%.0f", (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

show_run() {  # concurrency
    local times=() failed=0
    for _ in $(seq "$runs"); do
        local t0; t0=$(now)
        "$bin/corvanectl" show "127.0.1.1-$last" --port "$port" --json --concurrency "$1" --loopback-only \
            >"$work/show.json" 2>"$work/show.err" || failed=1
        times+=("$(ms "$t0" "$(now)")")
    done
    local hosts; hosts=$(grep -c '"host"' "$work/show.json" || true)
    printf '%s\n' "${times[@]}" | median
    echo " ms (median of $runs; $hosts devices shown$([ $failed = 1 ] && echo ', SOME FAILED'))"
}

echo "corvanectl show: $devices simulated devices answering after $delay ms, 9 exchanges each"
echo -n "corvanectl show, --concurrency 64 (default):   "; show_run 64
echo -n "corvanectl show, --concurrency $devices:            "; show_run "$devices"

# net-snmp's asynchronous library doing the same nine exchanges per device.
if line=$("$bin/bench_fleet_read" --devices "$devices" --delay-ms "$delay" --rounds "$runs" --sequential-devices 1 2>/dev/null \
          | grep "net-snmp asynchronous library:"); then
    echo "$line"
else
    echo "net-snmp asynchronous library: not measured (bench_fleet_read without net-snmp)"
fi

# A shell loop of snmpget, one device after another.
if command -v snmpget >/dev/null; then
    mkdir -p "$work/mibs"
    cp "$src/CorvaneMIB.mib" "$src"/tests/mib/modules/* "$work/mibs/"
    objects="sysDeviceInfo.0 operChannelID.0 operESSID.0 operRTSThreshold.0 operFragmentationThreshold.0
        operPreambleType.0 operAuthenticationType.0 operBasicRates.0 operAutoRateFallBack.0 operIPAddress.0
        operIPMask.0 operEthernetAddress.0 defaultWEPKey1.0 defaultWEPKey2.0 defaultWEPKey3.0 defaultWEPKey4.0
        privacyDefaultWEPKeyID.0 privacyWEPEnable.0 sysTrapSwitch.0 bridgeOperationalMode.0
        bridgeRemoteBridgeBSSID.0 wirelessStatistics.0 EthRxStatistics.0 EthTxStatistics.0"
    t0=$(now)
    failed=0
    for i in $(seq "$devices"); do
        HOME=$work SNMPCONFPATH=$work/mibs MIBDIRS=$work/mibs MIBS=CORVANE-MIB \
            snmpget -v1 -c kavrel -t 1 -r 1 -M "$work/mibs" -m CORVANE-MIB "127.0.1.$i:$port" \
            .1.3.6.1.2.1.1.1.0 $(for o in $objects; do echo "CORVANE-MIB::$o"; done) >/dev/null 2>&1 || failed=$((failed + 1))
    done
    printf 'shell loop of snmpget (1 request per device): %.0f ms (%d failed)\n' "$(ms "$t0" "$(now)")" "$failed"
else
    echo "shell loop of snmpget: not measured (net-snmp's tools not installed)"
fi
