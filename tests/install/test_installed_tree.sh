#!/bin/sh
# The installed tree, made with cmake --install in a scratch prefix: every
# file where desktops, man and dpkg look for it; the installed console finds
# its data in <prefix>/share/corvane-manager, still after the whole tree was
# moved, and keeps its trap log in the user's data folder.
set -eu
cmake=$1
build=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

"$cmake" --install "$build" --prefix "$scratch/usr" --component Unspecified >/dev/null
status=0
for file in bin/corvane-manager bin/apsim \
            share/corvane-manager/CorvaneMIB.mib share/corvane-manager/SNMPHelp.qch \
            share/corvane-manager/SNMPHelp.qhc share/applications/corvane-manager.desktop \
            share/icons/hicolor/16x16/apps/corvane-manager.png share/icons/hicolor/256x256/apps/corvane-manager.png \
            share/icons/hicolor/scalable/apps/corvane-manager.svg share/metainfo/net.corvane.manager.metainfo.xml \
            share/man/man1/corvane-manager.1.gz share/man/man1/apsim.1.gz \
            share/doc/corvane-manager/copyright share/doc/corvane-manager/changelog.gz; do
  [ -f "$scratch/usr/$file" ] || { echo "not installed: $file"; status=1; }
done
if command -v desktop-file-validate >/dev/null 2>&1; then
  desktop-file-validate "$scratch/usr/share/applications/corvane-manager.desktop" || status=1
fi
if command -v appstreamcli >/dev/null 2>&1; then
  appstreamcli validate --no-net --pedantic "$scratch/usr/share/metainfo/net.corvane.manager.metainfo.xml" \
    >/dev/null || { echo "appstreamcli validate failed"; status=1; }
fi

mv "$scratch/usr" "$scratch/moved"
# The trap port's line depends on what the machine allows; the test of the
# command line checks it.
report=$(env XDG_DATA_HOME="$scratch/data" "$scratch/moved/bin/corvane-manager" --check --trap-address 127.0.0.1 --trap-port 1 \
         2>/dev/null || true)
for line in "MIB file: $scratch/moved/share/corvane-manager/CorvaneMIB.mib" \
            "Help file: $scratch/moved/share/corvane-manager/SNMPHelp.qhc" \
            "Trap log: $scratch/data/corvane-manager/TrapLog.txt"; do
  printf '%s\n' "$report" | grep -qxF "$line" || { echo "expected '$line' in:"; echo "$report"; status=1; }
done

# The program alone, without its files: the MIB built into it serves, the
# help is missing, and the check says so with a failing status.
mkdir "$scratch/alone"
cp "$scratch/moved/bin/corvane-manager" "$scratch/alone/"
if report=$(env XDG_DATA_HOME="$scratch/data" XDG_DATA_DIRS="$scratch/none" "$scratch/alone/corvane-manager" \
            --check --trap-address 127.0.0.1 --trap-port 1 2>/dev/null); then
  echo "--check passed without a help file"; status=1
fi
for line in "MIB file: built in; CorvaneMIB.mib not found (looked in *" "Help file: SNMPHelp.qhc not found (looked in *"; do
  printf '%s\n' "$report" | grep -q "^$line" || { echo "expected '$line' in:"; echo "$report"; status=1; }
done
exit $status
