#!/usr/bin/env bash
# The Debian package of the build tree, unpacked with dpkg-deb -x into a temporary root: its files are
# at their places, and its veltra-host, given only --db and --public, finds its plug-in, its profile in
# the user's configuration folder, and gets the demo's results as the unpacked tool computes them.
set -euo pipefail
cpack=$1 build=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "$*" >&2; exit 1; }

"$cpack" -G DEB -B "$dir/out" --config "$build/CPackConfig.cmake" > "$dir/cpack.log" || { cat "$dir/cpack.log"; exit 1; }
deb=$(ls "$dir"/out/*.deb)
root=$dir/root
dpkg-deb -x "$deb" "$root"
public=$root/etc/atmocalc/public
delivered=$public/Documents/Veltra4/atmocalc
for file in usr/bin/veltra-host usr/bin/atmocalc usr/lib/atmocalc/atmocalc.so \
  usr/share/applications/veltra-host.desktop usr/share/icons/hicolor/scalable/apps/atmocalc.svg \
  usr/share/doc/atmocalc/copyright usr/share/doc/atmocalc/changelog.gz; do
  [ -f "$root/$file" ] || fail "the package lacks /$file"
done
cmp "$delivered/files/CompsTable.csv" "$(dirname "$0")/../../data/CompsTable.csv"
cmp "$delivered/templates/Report.xsl" "$(dirname "$0")/../../data/Report.xsl"
dpkg-deb --ctrl-tarfile "$deb" | tar -x -O ./conffiles > "$dir/conffiles"
printf '%s\n' /etc/atmocalc/public/Documents/Veltra4/atmocalc/files/CompsTable.csv \
  /etc/atmocalc/public/Documents/Veltra4/atmocalc/templates/Report.xsl | diff - "$dir/conffiles"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "no library dependencies: $(dpkg-deb -f "$deb" Depends)"

"$root/usr/bin/atmocalc" demo "$dir/demo" > /dev/null
# The demo settings in the default profile: atmospheric air, 750 and 745 mm Hg.
export XDG_CONFIG_HOME=$dir/config XDG_DATA_HOME=$dir/data TMPDIR=$dir QT_QPA_PLATFORM=offscreen
unset PUBLIC
mkdir -p "$XDG_CONFIG_HOME/veltra-host"
cat > "$XDG_CONFIG_HOME/veltra-host/profile.json" <<'JSON'
{"format": "veltra-host profile",
 "int": {"plugins\\atmocalc\\Settings/stdMode": 1},
 "double": {"plugins\\atmocalc\\Settings/pressGrad": 750, "plugins\\atmocalc\\Settings/pressAn": 745}}
JSON
(cd "$dir" && "$root/usr/bin/veltra-host" --script --db "$dir/demo/host.db" --public "$public") \
  > "$dir/host.txt" 2> "$dir/host.err" || { cat "$dir/host.txt" "$dir/host.err"; exit 1; }
grep -qxF "Модуль загружен: atmocalc 1.0.2.0 ($root/usr/lib/atmocalc/atmocalc.so)" "$dir/host.txt" ||
  fail "the plug-in was not taken from the unpacked package: $(grep '^Модуль' "$dir/host.txt")"
sed -n '/^== Расчет$/,/^> /p' "$dir/host.txt" | grep -P '\t' | tail -n +2 | sed 's/\t/ /' > "$dir/host-rows.txt"
"$root/usr/bin/atmocalc" calc --db "$dir/demo/host.db" --ids 1,2,3,4,5,6,7,8 \
  --components "$delivered/files/CompsTable.csv" --std-mode 1 --press-grad 750 --press-an 745 |
  sed -n '2,/^$/p' | sed '/^$/d' | sed -E 's/  +/ /' > "$dir/cli-rows.txt"
[ -s "$dir/cli-rows.txt" ] || fail "no rows from the unpacked tool"
diff "$dir/cli-rows.txt" "$dir/host-rows.txt"
ls "$dir"/vlx*.TMP.html > /dev/null || fail "no report from the unpacked host"
echo "the unpacked package runs the demo"
