#!/usr/bin/env bash
# The Windows installer under wine, silent as a script runs it: installer_under_wine.sh INSTALLER STAGE
# VERSION PUBLISHER, STAGE being the delivered files the installer was built from (bin, files,
# templates). Everything goes into a temporary folder: the plug-in folder (with a space in its name)
# and %PUBLIC%, which cmd sets for the installer, since wine gives its programs its own PUBLIC whatever
# the Unix environment says; that also shows the installer follows the variable, as the plug-in does.
# The uninstall key is the prefix's; the test starts by removing one left by an interrupted run.
set -euo pipefail
installer=$1 stage=$2 version=$3 publisher=$4
# Silent installs and uninstalls open no window.
export DISPLAY=
dir=$(mktemp -d)
busy=
trap '[ -z "$busy" ] || kill "$busy" 2>/dev/null; rm -rf "$dir"' EXIT
fail() { echo "$*" >&2; exit 1; }
windows() { local path=${1//\//\\}; echo "Z:$path"; }

key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\atmocalc'
public=$dir/Public
delivered=$public/Documents/Veltra4/atmocalc
plugins="$dir/Veltra4 Plugins"
table=$delivered/files/CompsTable.csv
cp "$installer" "$dir/atmocalc-setup.exe"
mkdir "$public"
wine reg delete "$key" /f > /dev/null 2>&1 || true

# Runs PROGRAM (given to wine whole) with the rest of its command line given word by word: wine quotes
# an argument with a space in it, and the installer takes /D= and the uninstaller _?= only unquoted, as
# the last argument. The installer runs through cmd, which sets its PUBLIC.
run() { # label, program, the rest of the command line
  local words start=$(date +%s%N) status=0
  read -ra words <<< "$3"
  wine "$2" "${words[@]}" < /dev/null > "$dir/out.txt" 2>&1 || status=$?
  echo "$1: exit code $status, $(( ($(date +%s%N) - start) / 1000000 )) ms"
  return $status
}
install() { # plug-in folder, PUBLIC
  run "install into $1" cmd "/c set PUBLIC=$2&& $(windows "$dir/atmocalc-setup.exe") /S /D=$(windows "$1")"
}
uninstall() { # plug-in folder
  run "uninstall from $1" "$1/uninst.exe" "/S _?=$(windows "$1")"
}
expect_status() { # status, command...
  local want=$1 status=0
  shift
  "$@" || status=$?
  [ "$status" = "$want" ] || fail "exit code $status, not $want: $*$(printf '\n'; cat "$dir/out.txt")"
}
registry() { wine reg query "$key" /v "$1" 2> /dev/null | tr -d '\r' | awk -v n="$1" '$1 == n {sub(/^ *[^ ]+ +[^ ]+ +/, ""); print}'; }
# The plug-in folder holds exactly these files, and the installed ones are the delivered ones.
expect_programs() { # folder, files...
  local folder=$1
  shift
  diff <(printf '%s\n' "$@" | sort) <(ls -A "$folder" | sort) || fail "in $folder: not the expected files"
  for name in "$@"; do
    [ "$name" = uninst.exe ] || cmp "$stage/bin/$name" "$folder/$name"
  done
}
programs=(atmocalc-report.exe atmocalc.dll atmocalc.exe uninst.exe)

# Without PUBLIC the plug-in would find neither file: the installer refuses and changes nothing.
expect_status 2 install "$plugins" ""
[ ! -e "$plugins" ] && [ ! -e "$public/Documents" ] || fail "an install without PUBLIC left files"
[ -z "$(registry DisplayName)" ] || fail "an install without PUBLIC registered itself"

expect_status 0 install "$plugins" "$(windows "$public")"
expect_programs "$plugins" "${programs[@]}"
cmp "$stage/files/CompsTable.csv" "$table"
cmp "$stage/templates/Report.xsl" "$delivered/templates/Report.xsl"
for check in "DisplayName=atmocalc" "DisplayVersion=$version" "Publisher=$publisher" \
  "InstallLocation=$(windows "$plugins")" "DataFolder=$(windows "$delivered")" \
  "UninstallString=\"$(windows "$plugins")\\uninst.exe\""; do
  [ "$(registry "${check%%=*}")" = "${check#*=}" ] || fail "uninstall key: ${check%%=*} is '$(registry "${check%%=*}")', not '${check#*=}'"
done
size=$(registry EstimatedSize)
(( size > 1000 )) || fail "uninstall key: EstimatedSize $size"

# A reinstall keeps the lab's edited table and replaces the template.
sed -i 's/;/;;/' "$table"
cp "$table" "$dir/edited.csv"
echo edited >> "$delivered/templates/Report.xsl"
expect_status 0 install "$plugins" "$(windows "$public")"
cmp "$dir/edited.csv" "$table"
cmp "$stage/templates/Report.xsl" "$delivered/templates/Report.xsl"

# While the tool runs from the plug-in folder its file cannot be replaced or removed: the installer and
# the uninstaller refuse with exit code 2 and change nothing.
python3 -c "import sqlite3, sys; sqlite3.connect(sys.argv[1]).execute('create table t(x)')" "$dir/empty.db"
(cd "$dir" && exec wine "$plugins/atmocalc.exe" sql --db empty.db \
  'WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) SELECT x FROM c WHERE x < 0' \
  < /dev/null > /dev/null 2>&1) &
busy=$!
for _ in $(seq 300); do
  grep -qF "$plugins/atmocalc.exe" "/proc/$busy/maps" 2> /dev/null && break
  sleep 0.1
done
grep -qF "$plugins/atmocalc.exe" "/proc/$busy/maps" || fail "the tool did not start"
expect_status 2 install "$plugins" "$(windows "$public")"
expect_status 2 uninstall "$plugins"
expect_programs "$plugins" "${programs[@]}"
[ -f "$delivered/templates/Report.xsl" ] && [ -n "$(registry DisplayName)" ] || fail "a refused uninstall removed files"
kill "$busy"
wait "$busy" 2> /dev/null || true
busy=

# An upgrade into another folder takes the programs away from the first one.
moved="$dir/Other Plugins"
expect_status 0 install "$moved" "$(windows "$public")"
[ ! -e "$plugins" ] || fail "the programs stayed in the former folder: $(ls -A "$plugins")"
expect_programs "$moved" "${programs[@]}"
[ "$(registry InstallLocation)" = "$(windows "$moved")" ] || fail "uninstall key: InstallLocation $(registry InstallLocation)"

# The uninstaller removes the programs and the template and keeps the table. Run in place (_?=) it
# cannot remove itself; the uninstaller started from the uninstall key copies itself away first.
expect_status 0 uninstall "$moved"
expect_programs "$moved" uninst.exe
[ ! -e "$delivered/templates" ] || fail "the template's folder stayed: $(ls -A "$delivered/templates")"
cmp "$dir/edited.csv" "$table"
! wine reg query "$key" > /dev/null 2>&1 || fail "the uninstall key stayed"
echo "the installer installs, keeps the table, refuses a busy plug-in, moves and uninstalls"
