#!/usr/bin/env bash
# TamselDesktop.msi under Wine's Windows Installer, each case in a fresh prefix (a copy of one
# made here, with the client and both engines installed and the client set up for its user):
# a silent install with presets that the client then runs with, the registry and the client's
# settings before install and after uninstall, an upgrade over an older package, installing
# twice, other add-ins around ours, no client, unwritable settings, a repair, and a client that
# runs while its add-in is upgraded and removed. Prints the diffs it judges.
# Usage: package_test.sh BUILD_DIR
# -E: a step that fails inside a function is named by the ERR trap too, not ended in silence.
set -Eeuo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
export BUILD_DIR="$1"
scratch=$(mktemp -d)
export WINEPREFIX="$scratch/template"
source "$root/scripts/wine-env"
trap 'wine_server_stop; rm -rf "$scratch"' EXIT
trap 'echo "package test: a step failed at line $LINENO"' ERR
# Under pipefail a "grep -q" that stops at its first match can fail its pipeline (the writer
# gets SIGPIPE): greps of pipelines here read to the end.
failures=0
fail() { echo "FAILED ($case_name): $*"; failures=$((failures + 1)); }
case_name=template

bin="$BUILD_DIR/bin"
package=$(winepath -w "$bin/TamselDesktop.msi" | tr -d '\r')
client_dir='C:\Program Files\Velmora\Tamsel'
plugin_class='{3A71C2E4-5B0D-4F86-9E12-7D4C60A8B1F3}'
app_id='{0C9E5D37-A6F1-4B28-93D4-E85B12F7C06A}'
client_path() { echo "$WINEPREFIX/drive_c/Program Files/Velmora/Tamsel/$1"; }
data() { echo "$WINEPREFIX/drive_c/TamselData/$1"; }
settings() { tr -d '\r' <"$(data tamsel.ini)"; }
setting() { settings | sed -n "s/^$1=//p"; }

# Wine hands msiexec's result to the shell as its low byte.
installer_failed=$((1603 & 255)) restart_needed=$((3010 & 255))
# msi LOG ARGUMENTS...: msiexec, silent, with a verbose log; its exit code in $msi_code.
msi() {
    local log="$scratch/$case_name-$1.log"
    shift
    msi_code=0
    wine msiexec "$@" /qn /l*v "$(winepath -w "$log" | tr -d '\r')" >/dev/null 2>&1 || msi_code=$?
}
msi_log() { tr -d '\r' <"$scratch/$case_name-$1.log"; }
# Stopped by a launch condition: Wine's silent install logs that the condition failed but not
# its message (Windows logs both), so the message is looked for in the package.
stopped_by_condition() { # LOG PACKAGE MESSAGE
    msi_log "$1" | grep "LaunchConditions. Return value 0" >/dev/null || fail "$1: no launch condition stopped it"
    msiinfo export "$2" LaunchCondition | grep -F "$3" >/dev/null || fail "$1: the package does not say '$3'"
}

# What an install may change: the classes, the user's keys and the machine's software keys,
# as text, without the export's header.
snapshot() {
    : >"$scratch/$1"
    for hive in HKEY_CLASSES_ROOT HKEY_CURRENT_USER\\Software HKEY_LOCAL_MACHINE\\Software; do
        # Once more when the export fails, then a named failure rather than set -e's silent
        # exit: a full run's load once ended a case here or near here without a word.
        wine reg export "$hive" "$(winepath -w "$scratch/hive.reg" | tr -d '\r')" /y >/dev/null 2>&1 ||
            { wineserver -w; wine reg export "$hive" "$(winepath -w "$scratch/hive.reg" | tr -d '\r')" /y >/dev/null 2>&1; } ||
            { fail "the registry's $hive cannot be exported"; return 0; }
        iconv -f UTF-16LE -t UTF-8 "$scratch/hive.reg" | tr -d '\r' |
            grep -v -e '^Windows Registry Editor' >>"$scratch/$1"
    done
}

# The client running headless until the pass over DATABASE has logged its summary.
run_client_until_indexed() {
    local database=$1 started=$SECONDS
    # The settings dialog's OK starts a pass at once.
    # "$WINE" itself, not the wine function: Ctrl+C must reach the client, not a subshell.
    "$WINE" "$client_dir\\nltamsel.exe" --headless --seconds 120 --menu 0 --dialog "click IDC_OK" >/dev/null 2>&1 &
    local client=$!
    until grep -aqF "$database): Tamsel indexed:" "$(data tamsel.log)" 2>/dev/null; do
        kill -0 "$client" 2>/dev/null || break
        [ $((SECONDS - started)) -lt 100 ] || break
        sleep 0.2
    done
    kill -INT "$client" 2>/dev/null || true
    wait "$client" || true
    grep -aqF "$database): Tamsel indexed:" "$(data tamsel.log)" || fail "no pass over $database"
}

case_start() {
    case_name=$1
    export WINEPREFIX="$scratch/$case_name"
    cp -a "$scratch/template" "$WINEPREFIX"
    echo "== $case_name"
    case_started=$SECONDS
}
case_end() {
    echo "   ($((SECONDS - case_started)) s)"
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
}

# The template: the client in its own folder (where the package must put the plug-in), set up
# for its user with a data directory; both engines, the index in the prefix.
x_server_start
wine_prefix_ready
mkdir -p "$(client_path '')" "$(data '')"
cp "$bin/nltamsel.exe" "$bin/ntamsel.dll" "$(client_path '')"
wine "$bin/zrb.exe" sample 'C:\TamselData' --mails 30 >/dev/null 2>&1 || fail "no sample data"
printf '[Tamsel]\r\n' >"$(data tamsel.ini)"
wine "$client_dir\\nltamsel.exe" --data 'C:\TamselData' --install >/dev/null 2>&1 || fail "the client does not install"
for engine in ZendriDS.dll OrvennaDesktop.dll; do
    wine regsvr32 /s "$(winepath -w "$bin/$engine" | tr -d '\r')" >/dev/null 2>&1 || fail "$engine does not register"
done
wine reg add 'HKCU\Software\Zendri\DesktopSearch' /v IndexFolder /t REG_SZ /d 'C:\TamselIndex' /f >/dev/null 2>&1 ||
    fail "no index folder for the engine"
wineserver -w

# ---------------------------------------------------------------------------------------------
case_start presets
msi install /i "$package" INDEXING=1 DATABASES="mail.zrb" NONOTICE=1 WAITTIME=0 FREQUENCY=1 DEBUG=1
[ "$msi_code" = 0 ] || fail "the install failed with $msi_code"
[ -f "$(client_path TamselDesktop.dll)" ] || fail "no plug-in in the client's folder"
for expected in AddInMenus=TamselDesktop.dll DesktopSearchIndexEnabled=1 \
    DesktopSearchFilePath=mail.zrb DesktopSearchInstallInstructions=1 \
    DesktopSearchWaitTime=0 DesktopSearchFreqMinutes=1; do
    settings | grep -xF "$expected" >/dev/null || fail "the settings lack $expected"
done
run_client_until_indexed mail.zrb
grep -aqF "TamselDesktop.dll" "$(data tamsel.log)" || fail "the client did not load the add-in"
url=$(wine "$bin/zsearch.exe" --json query Freitag 2>/dev/null | python3 -c \
    'import json, sys; print(next((r["url"] for r in json.load(sys.stdin) if r["from"]), ""))')
[ -n "$url" ] || fail "no mail found in the index"
actions=$(wine "$bin/zsearch.exe" actions "$url" 2>/dev/null | tr -d '\r')
[ "$(grep -c '^[0-9]\. {.*state 2' <<<"$actions")" = 3 ] || fail "the mail does not offer three actions: $actions"
# A deleted mail leaves the index by the second engine's query road.
id=$(wine "$bin/zrb.exe" dump 'C:\TamselData\mail.zrb' 2>/dev/null | python3 -c '
import json, sys
url = sys.argv[1].upper()
print(next((n["note"] for n in json.load(sys.stdin)["notes"]
            if (n["oid"]["file"] + n["oid"]["note"]).upper() in url.replace("/", "")), ""))' "$url")
if [ -n "$id" ] && wine "$bin/zrb.exe" delete 'C:\TamselData\mail.zrb' "$id" >/dev/null 2>&1; then
    : >"$(data tamsel.log)"
    run_client_until_indexed mail.zrb
    last=$(python3 -c '
import json, sys
last = ""
for line in open(sys.argv[1], encoding="utf-8"):
    record = json.loads(line)
    if record.get("url") == sys.argv[2]:
        last = record.get("op", "")
print(last)' "$WINEPREFIX/drive_c/TamselIndex/documents.jsonl" "$url")
    [ "$last" = remove ] || fail "the deleted mail's last record is '$last', not remove"
else
    fail "the found mail ($url) cannot be deleted"
fi
case_end

# ---------------------------------------------------------------------------------------------
case_start round_trip
printf '[Tamsel]\r\nAddInMenus=Before.dll\r\n' >"$(data tamsel.ini)"
snapshot before.txt
settings >"$scratch/settings-before.txt"
msi install /i "$package"
[ "$msi_code" = 0 ] || fail "the install failed with $msi_code"
[ "$(setting AddInMenus)" = "Before.dll,TamselDesktop.dll" ] || fail "AddInMenus is '$(setting AddInMenus)'"
wine reg query "HKCR\\CLSID\\$plugin_class\\InprocServer32" >/dev/null 2>&1 || fail "the plug-in's class is not registered"
msi again /i "$package"
[ "$msi_code" = 0 ] || fail "installing twice failed with $msi_code"
[ "$(setting AddInMenus)" = "Before.dll,TamselDesktop.dll" ] || fail "installed twice, AddInMenus is '$(setting AddInMenus)'"
# Another add-in installed after ours.
sed -i 's/^AddInMenus=.*/AddInMenus=Before.dll,TamselDesktop.dll,After.dll\r/' "$(data tamsel.ini)"
msi uninstall /x "$package"
[ "$msi_code" = 0 ] || fail "the uninstall failed with $msi_code"
[ "$(setting AddInMenus)" = "Before.dll,After.dll" ] || fail "after uninstall AddInMenus is '$(setting AddInMenus)'"
[ ! -e "$(client_path TamselDesktop.dll)" ] || fail "the plug-in is still in the client's folder"
sed -i 's/^AddInMenus=.*/AddInMenus=Before.dll\r/' "$(data tamsel.ini)"
snapshot after.txt
echo "-- the registry, before install and after uninstall"
diff "$scratch/before.txt" "$scratch/after.txt" | grep '^[<>]' | tee "$scratch/registry-diff.txt" || true
# The AppID key stays (also mirrored under Wow6432Node in a 64-bit prefix); the second engine
# keeps its Components key, empty, once its last component is gone; Windows Installer's own
# keys, empty, stay after the first package a prefix has seen (Windows has them from the start).
unexpected=$(awk -v app_id="$app_id" '
    function allowed_key(k) {
        k = toupper(k)
        return index(k, "\\APPID\\" app_id "]") || index(k, "\\INSTALLER\\") ||
               k ~ /\\INSTALLER\]$/ || k ~ /\\ORVENNA DESKTOP\\COMPONENTS\]$/
    }
    /^> \[/ { key = substr($0, 3); if (!allowed_key(key)) print; next }
    /^> *$/ { next }
    /^> / { if (!(index(toupper(key), "\\APPID\\") && $0 == "> @=\"TamselDesktop\"")) print key " " $0; next }
    /^</ { print }' "$scratch/registry-diff.txt")
[ -z "$unexpected" ] || fail "the round trip left more than the AppID key: $unexpected"
echo "-- the client's settings, before install and after uninstall"
settings | diff "$scratch/settings-before.txt" - | grep '^[<>]' | tee "$scratch/settings-diff.txt" || true
grep -v '^> DesktopSearch' "$scratch/settings-diff.txt" | grep . >/dev/null &&
    fail "the round trip changed settings other than the plug-in's own"
case_end

# ---------------------------------------------------------------------------------------------
# An older package (its plug-in marked, so that the two can be told apart) and a newer one.
arch=x86
grep -qs '^CMAKE_TOOLCHAIN_FILE.*x86_64' "$BUILD_DIR/CMakeCache.txt" && arch=x64
mkdir -p "$scratch/old-bin"
cp "$bin/TamselSetup.dll" "$scratch/old-bin/"
{ cat "$bin/TamselDesktop.dll"; printf 'an older build'; } >"$scratch/old-bin/TamselDesktop.dll"
"$root/installer/make-package" "$arch" 0.9.0 "$scratch/old-bin" "$scratch/old.msi" || fail "no older package"
old_package=$(winepath -w "$scratch/old.msi" | tr -d '\r')
product_installed() { wine reg query "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$1" >/dev/null 2>&1; }
product_code() { msiinfo export "$1" Property | tr -d '\r' | sed -n 's/^ProductCode\t//p'; }
old_code=$(product_code "$scratch/old.msi")
new_code=$(product_code "$bin/TamselDesktop.msi")

case_start upgrade
msi old /i "$old_package" INDEXING=1 DATABASES="mail.zrb" NONOTICE=1 WAITTIME=0 DEBUG=1
[ "$msi_code" = 0 ] || fail "the older package failed with $msi_code"
run_client_until_indexed mail.zrb
sed -i 's/^DesktopSearchFreqMinutes=.*\r\?$//; s/^\[Tamsel\]\r$/[Tamsel]\r\nDesktopSearchFreqMinutes=7\r/' "$(data tamsel.ini)"
stamp=$(setting DesktopSearchTimestamp)
documents=$(wine "$bin/zsearch.exe" count 2>/dev/null | tr -d '\r')
msi new /i "$package"
[ "$msi_code" = 0 ] || fail "the upgrade failed with $msi_code"
cmp -s "$(client_path TamselDesktop.dll)" "$bin/TamselDesktop.dll" || fail "the upgrade kept the older plug-in"
product_installed "$old_code" && fail "the older product is still installed"
product_installed "$new_code" || fail "the newer product is not installed"
[ "$(setting AddInMenus)" = TamselDesktop.dll ] || fail "after the upgrade AddInMenus is '$(setting AddInMenus)'"
[ "$(setting DesktopSearchFreqMinutes)" = 7 ] || fail "the upgrade lost the user's frequency"
[ -n "$stamp" ] && [ "$(setting DesktopSearchTimestamp)" = "$stamp" ] || fail "the upgrade lost the time stamp '$stamp'"
[ "$(wine "$bin/zsearch.exe" count 2>/dev/null | tr -d '\r')" = "$documents" ] || fail "the upgrade changed the index"
wine reg query "HKCR\\CLSID\\$plugin_class\\InprocServer32" >/dev/null 2>&1 || fail "the upgrade left the plug-in unregistered"
msi downgrade /i "$old_package"
[ "$msi_code" = "$installer_failed" ] || fail "installing the older package over the newer gave $msi_code"
stopped_by_condition downgrade "$scratch/old.msi" "A newer version of Tamsel Desktop Search is already installed"
cmp -s "$(client_path TamselDesktop.dll)" "$bin/TamselDesktop.dll" || fail "the downgrade changed the plug-in"
case_end

# ---------------------------------------------------------------------------------------------
# Refused installs change nothing: the registry, the settings and the client's folder stay.
refused() { # NAME MESSAGE ARGUMENTS...
    local name=$1 message=$2
    shift 2
    snapshot "$name-before.txt"
    settings >"$scratch/$name-settings-before.txt"
    msi "$name" /i "$package" "$@"
    [ "$msi_code" = "$installer_failed" ] || fail "$name: the install gave $msi_code"
    if [ "$name" = no_client ]; then
        stopped_by_condition "$name" "$bin/TamselDesktop.msi" "$message"
    else
        msi_log "$name" | grep -F "$message" >/dev/null || fail "$name: the log does not say '$message'"
    fi
    snapshot "$name-after.txt"
    diff "$scratch/$name-before.txt" "$scratch/$name-after.txt" | grep '^[<>] \[' |
        grep -v -i '\\Installer\(\\\|\]\)' && fail "$name: the registry changed"
    settings | cmp -s "$scratch/$name-settings-before.txt" - || fail "$name: the settings changed"
    [ ! -e "$(client_path TamselDesktop.dll)" ] || fail "$name: the plug-in was left in the client's folder"
}
case_start refused
refused bad_preset 'FREQUENCY="150" is not valid' INDEXING=1 FREQUENCY=150
ini="$(data tamsel.ini)"
if chattr +i "$ini" 2>/dev/null; then
    refused read_only_settings "cannot be written" INDEXING=1
    chattr -i "$ini"
else
    echo "cannot make the settings file immutable here: the rollback case is skipped"
fi
wine reg delete 'HKCU\Software\Velmora\Tamsel' /v DataPath /f >/dev/null 2>&1
refused no_data_directory "has not been set up for this user"
wine reg delete 'HKLM\SOFTWARE\Velmora\Tamsel' /v Path /f >/dev/null 2>&1
refused no_client "needs the Velmora Tamsel client, which is not installed"
case_end

# ---------------------------------------------------------------------------------------------
# Wine's msiexec has no /f (it takes the package for a product code); the same repair by its
# properties, which Windows' /famus sets.
case_start repair
msi install /i "$package"
rm -f "$(client_path TamselDesktop.dll)"
wine reg delete "HKCR\\CLSID\\$plugin_class\\InprocServer32" /f >/dev/null 2>&1
msi repair /i "$package" REINSTALL=ALL REINSTALLMODE=amus
[ "$msi_code" = 0 ] || fail "the repair failed with $msi_code"
cmp -s "$(client_path TamselDesktop.dll)" "$bin/TamselDesktop.dll" || fail "the repair did not put the plug-in back"
wine reg query "HKCR\\CLSID\\$plugin_class\\InprocServer32" >/dev/null 2>&1 || fail "the repair did not register the plug-in again"
[ "$(setting AddInMenus)" = TamselDesktop.dll ] || fail "after the repair AddInMenus is '$(setting AddInMenus)'"
case_end

# ---------------------------------------------------------------------------------------------
# The client holds its add-in while it is upgraded and while it is removed: the installer
# replaces or removes the file at the next restart (wineboot -r) and says a restart is needed.
pending() { wine reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations 2>/dev/null | tr -d '\r'; }
client_running() {
    "$WINE" "$client_dir\\nltamsel.exe" --headless --seconds 60 >/dev/null 2>&1 &
    client=$!
    for _ in $(seq 100); do grep -aq "Loaded add-in TamselDesktop.dll" "$(data tamsel.log)" 2>/dev/null && break; sleep 0.1; done
}
client_stop() { kill -INT "$client" 2>/dev/null || true; wait "$client" || true; }
restart() { wine wineboot.exe -r >/dev/null 2>&1; wineserver -w; x_server_start; }
case_start in_use
msi old /i "$old_package"
client_running
msi upgrade /i "$package"
[ "$msi_code" = "$restart_needed" ] || fail "upgrading the add-in in use gave $msi_code, not a restart"
pending | grep -i 'TamselDesktop.dll' >/dev/null || fail "no replacement of the plug-in at restart"
[ "$(setting AddInMenus)" = TamselDesktop.dll ] || fail "during the upgrade AddInMenus is '$(setting AddInMenus)'"
client_stop
restart
cmp -s "$(client_path TamselDesktop.dll)" "$bin/TamselDesktop.dll" || fail "after the restart the older plug-in is still there"
client_running
msi uninstall /x "$package"
[ "$msi_code" = "$restart_needed" ] || fail "removing the add-in in use gave $msi_code, not a restart"
[ -z "$(setting AddInMenus)" ] || fail "the removal left AddInMenus '$(setting AddInMenus)'"
wine reg query "HKCR\\CLSID\\$plugin_class" >/dev/null 2>&1 && fail "the removal left the plug-in registered"
client_stop
restart
[ ! -e "$(client_path TamselDesktop.dll)" ] || fail "after the restart the plug-in is still there"
ls "$(client_path '')" | grep -i '^msi.*\.tmp$' >/dev/null && fail "the installer's temporary file is left in the client's folder"
case_end

# ---------------------------------------------------------------------------------------------
[ "$failures" = 0 ] && echo "package test: passed" || { echo "$failures failures"; exit 1; }
