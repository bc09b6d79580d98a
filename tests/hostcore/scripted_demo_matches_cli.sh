#!/usr/bin/env bash
# The host's scripted demo through the real plug-in shows the same result rows and messages as the
# command-line tool computes on the same demo data and settings.
set -euo pipefail
host=$1 tool=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$tool" demo "$dir" >/dev/null
cat > "$dir/profile.json" <<'JSON'
{"format": "veltra-host profile",
 "int": {"plugins\\atmocalc\\Settings/stdMode": 1},
 "double": {"plugins\\atmocalc\\Settings/pressGrad": 750, "plugins\\atmocalc\\Settings/pressAn": 745}}
JSON
QT_QPA_PLATFORM=offscreen TMPDIR="$dir" "$host" --script --pick all --db "$dir/host.db" \
  --profile "$dir/profile.json" --public "$dir/public" > "$dir/host.txt" 2> "$dir/host.err"
# Rows: the results page prints "name<TAB>value"; the tool prints them in aligned columns.
sed -n '/^== Расчет$/,/^> /p' "$dir/host.txt" | grep -P '\t' | tail -n +2 | sed 's/\t/ /' > "$dir/host-rows.txt"
sed -n '/^== Сообщения$/,/^> /p' "$dir/host.txt" | sed '1d;$d' > "$dir/host-messages.txt"
"$tool" calc --db "$dir/host.db" --ids 1,2,3,4,5,6,7,8 --components \
  "$dir/public/Documents/Veltra4/atmocalc/files/CompsTable.csv" --std-mode 1 --press-grad 750 --press-an 745 > "$dir/cli.txt"
sed -n '2,/^$/p' "$dir/cli.txt" | sed '/^$/d' | sed -E 's/  +/ /' > "$dir/cli-rows.txt"
sed -n '/^$/,$p' "$dir/cli.txt" | sed '/^$/d' > "$dir/cli-messages.txt"
[ -s "$dir/cli-rows.txt" ] || { echo "no rows from the tool"; exit 1; }
diff "$dir/cli-rows.txt" "$dir/host-rows.txt"
diff "$dir/cli-messages.txt" "$dir/host-messages.txt"
grep -q '^Модуль выгружен: atmocalc$' "$dir/host.txt"
ls "$dir"/vlx*.TMP.html >/dev/null
QT_QPA_PLATFORM=offscreen TMPDIR="$dir" "$host" --script --pick 1,4 --db "$dir/host.db" --profile "$dir/profile.json" \
  --public "$dir/public" --steps "menu Данные/Расчёты/Тамирель; press Добавить хроматограммы; shot $dir/shot.png; close" \
  > /dev/null 2>&1
[ "$(head -c 8 "$dir/shot.png" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] || { echo "no picture from shot"; exit 1; }
echo "scripted demo matches the command-line tool"
