#!/usr/bin/env bash
# The host's scripted demo through the real plug-in shows the same result rows and messages as the
# command-line tool computes on the same demo data and settings.
#   scripted_demo_matches_cli.sh HOST TOOL   veltra-host and the tool of the Linux tree
#   scripted_demo_matches_cli.sh HOST.exe    veltra-host.exe under wine; the data and the expected rows
#                                            from the Linux tool in ATMOCALC_LINUX_TOOL (skipped without it);
#                                            with the Linux veltra-host beside that tool, both hosts also
#                                            print the same of every dialog
set -euo pipefail
host=$1 tool=${2:-${ATMOCALC_LINUX_TOOL:-}}
windows=false
[[ $host == *.exe ]] && windows=true
if [ -z "$tool" ] || [ ! -x "$tool" ]; then
  echo "no Linux tool to make the demo data with (ATMOCALC_LINUX_TOOL)"
  exit 77
fi
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$tool" demo "$dir" >/dev/null
cat > "$dir/profile.json" <<'JSON'
{"format": "veltra-host profile",
 "int": {"plugins\\atmocalc\\Settings/stdMode": 1},
 "double": {"plugins\\atmocalc\\Settings/pressGrad": 750, "plugins\\atmocalc\\Settings/pressAn": 745}}
JSON
# Runs the host's script on the demo data: run_host OUT [OPTIONS...].
run_host() {
  local out=$1
  shift
  if $windows; then
    wine "$host" --script --db "$(winepath -w "$dir/host.db")" --profile "$(winepath -w "$dir/profile.json")" \
      --public "$(winepath -w "$dir/public")" "$@" </dev/null 2>"$dir/host.err" | sed 's/\r$//' > "$out"
  else
    QT_QPA_PLATFORM=offscreen TMPDIR="$dir" "$host" --script --db "$dir/host.db" --profile "$dir/profile.json" \
      --public "$dir/public" "$@" > "$out" 2> "$dir/host.err"
  fi
}
run_host "$dir/host.txt" --pick all
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
if $windows; then
  # The report the plug-in opened for the user, printed by the host that took the opening over.
  report=$(sed -n 's/^Открыт файл: //p' "$dir/host.txt")
  [ -n "$report" ] && [ -s "$(winepath -u "$report")" ] || { echo "no report opened: ${report:-none}"; exit 1; }
  linux_host=$(dirname "$tool")/veltra-host
  if [ -x "$linux_host" ]; then
    steps="menu Данные/Расчёты/Тамирель; press Добавить хроматограммы; press Открыть настройки; print Настройки"
    steps+="; press Отмена; press Справочник компонентов; print Компоненты; press Отмена; press О плагине"
    steps+="; print О плагине; press OK; press Удалить все хроматограммы; press Пересчитать; print Сообщения; close"
    run_host "$dir/windows-dialogs.txt" --pick 1,4 --steps "$steps"
    host=$linux_host windows=false run_host "$dir/linux-dialogs.txt" --pick 1,4 --steps "$steps"
    # All but the module's path.
    diff <(tail -n +2 "$dir/linux-dialogs.txt") <(tail -n +2 "$dir/windows-dialogs.txt")
  fi
  echo "scripted Windows demo matches the command-line tool"
  exit 0
fi
ls "$dir"/vlx*.TMP.html >/dev/null
run_host /dev/null --pick 1,4 --steps "menu Данные/Расчёты/Тамирель; press Добавить хроматограммы; shot $dir/shot.png; close"
[ "$(head -c 8 "$dir/shot.png" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] || { echo "no picture from shot"; exit 1; }
echo "scripted demo matches the command-line tool"
