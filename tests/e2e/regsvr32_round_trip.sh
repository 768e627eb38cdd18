#!/usr/bin/env bash
# regsvr32 of TamselDesktop.dll in a fresh Wine prefix: what it writes, that /u takes it all
# back but the AppID key, that it registers twice, and that without the second engine it
# writes its entries and fails. Prints the registry diff of the round trip.
# Usage: regsvr32_round_trip.sh BUILD_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
export BUILD_DIR="$1"
scratch=$(mktemp -d)
export WINEPREFIX="$scratch/prefix"
source "$root/scripts/wine-env"
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$scratch"' EXIT
trap 'echo "regsvr32 round trip: a step failed at line $LINENO"' ERR
wine_prefix_ready
bin=$(winepath -w "$BUILD_DIR/bin" | tr -d '\r')
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

# Both hives the plug-in touches, as text, without the export's header and Wine's own noise.
snapshot() {
    : > "$scratch/$1"
    for hive in HKEY_CLASSES_ROOT HKEY_CURRENT_USER; do
        wine reg export "$hive" "$(winepath -w "$scratch/hive.reg" | tr -d '\r')" /y >/dev/null 2>&1
        iconv -f UTF-16LE -t UTF-8 "$scratch/hive.reg" | tr -d '\r' |
            grep -v -e '^Windows Registry Editor' >> "$scratch/$1"
    done
}
has_key() { grep -qixF "[$2]" "$scratch/$1"; }
regsvr() { wine regsvr32 /s "$@" >/dev/null 2>&1; }

regsvr "$bin\\ZendriDS.dll" && regsvr "$bin\\OrvennaDesktop.dll" || fail "the engines do not register"
wine "$bin\\nltamsel.exe" --install >/dev/null 2>&1 || fail "the client does not install"
plugin="$bin\\TamselDesktop.dll"

# No data directory to be found (none given, none recorded): the settings the query cookie
# belongs in do not exist, so nothing at all is registered.
snapshot before.txt
if regsvr "$plugin"; then fail "registering without the client's data directory succeeded"; fi
snapshot nodata.txt
cmp -s "$scratch/before.txt" "$scratch/nodata.txt" ||
    { fail "registering without the client's data directory wrote something"; diff "$scratch/before.txt" "$scratch/nodata.txt" | head; }

# The client installed for the user's data directory, as its installation records it.
mkdir -p "$scratch/data"
wine "$bin\\nltamsel.exe" --data "$(winepath -w "$scratch/data" | tr -d '\r')" --install >/dev/null 2>&1 ||
    fail "the client does not install with its data directory"
snapshot before.txt

regsvr "$plugin" || fail "regsvr32 TamselDesktop.dll failed"
grep -aq "^DesktopSearchInstallTime2=[1-9]" "$scratch/data/tamsel.ini" ||
    fail "no query cookie in the client's settings"
snapshot registered.txt
# Each key's values are checked in-process (plugin_tests, ComRegistration); here the whole.
classes='HKEY_CLASSES_ROOT'
plugin_class='{3A71C2E4-5B0D-4F86-9E12-7D4C60A8B1F3}'
actions_class='{6D2B9F10-8C47-4E35-A1D6-29F0B3C7E854}'
app_id='{0C9E5D37-A6F1-4B28-93D4-E85B12F7C06A}'
has_key registered.txt "HKEY_CURRENT_USER\\Software\\Orvenna\\Orvenna Desktop\\Components\\$plugin_class\\Actions" ||
    fail "the second engine does not know the plug-in's actions"

echo "== the registry diff of regsvr32 TamselDesktop.dll =="
diff "$scratch/before.txt" "$scratch/registered.txt" | grep '^[<>]' || true

# Registering again: the second engine already knows the component, so it is withdrawn and
# registered anew, with a new query cookie.
regsvr "$plugin" || fail "registering twice failed"
snapshot twice.txt
cookie() { grep -i '^"QueryCookie"=' "$scratch/$1" || true; }
has_key twice.txt "HKEY_CURRENT_USER\\Software\\Orvenna\\Orvenna Desktop\\Components\\$plugin_class\\Actions" ||
    fail "the second registration lost the component's actions"
[ -n "$(cookie twice.txt)" ] && [ "$(cookie twice.txt)" != "$(cookie registered.txt)" ] ||
    fail "the second registration did not register with the second engine again"

regsvr /u "$plugin" || fail "regsvr32 /u failed"
snapshot unregistered.txt
echo "== the registry diff of the round trip (before registering, after /u) =="
diff "$scratch/before.txt" "$scratch/unregistered.txt" | grep '^[<>]' | tee "$scratch/round.txt" || true
# Wine's 64-bit prefix mirrors the AppID key under Wow6432Node; the second engine keeps its
# Components key, empty, once its last component is gone.
unexpected=$(grep -v -i -e "^> \[HKEY_CLASSES_ROOT\\\\\(Wow6432Node\\\\\)\?AppID\\\\$app_id\]" \
             -e '^> @="TamselDesktop"' -e '^> $' \
             -e '^> \[HKEY_CURRENT_USER\\Software\\Orvenna\\Orvenna Desktop\\Components\]' \
             "$scratch/round.txt" || true)
[ -z "$unexpected" ] || fail "regsvr32 /u left more than the AppID key"
has_key unregistered.txt "$classes\\AppID\\$app_id" || fail "the AppID key went"

# Without the second engine: the entries are written and the registrar's creation error
# (REGDB_E_CLASSNOTREG) fails the registration.
regsvr /u "$bin\\OrvennaDesktop.dll" || fail "the second engine does not unregister"
if regsvr "$plugin"; then fail "registering without the second engine succeeded"; fi
snapshot alone.txt
has_key alone.txt "$classes\\CLSID\\$actions_class\\InprocServer32" ||
    fail "without the second engine the classes are not written"

[ "$failures" = 0 ] && echo "regsvr32 round trip: passed" || { echo "$failures failures"; exit 1; }
