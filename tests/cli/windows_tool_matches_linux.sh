#!/usr/bin/env bash
# The Windows tool (atmocalc.exe under wine) writes byte for byte what the Linux tool writes for the same
# input: the same standard output (UTF-8, LF line ends), the same exit status, the same files. The
# demo data come from the Linux tool; both tools run in its folder with relative paths.
#   windows_tool_matches_linux.sh WINDOWS_TOOL   (the Linux tool in ATMOCALC_LINUX_TOOL; skipped without it)
set -euo pipefail
windows=$1
linux=${ATMOCALC_LINUX_TOOL:-}
if [ -z "$linux" ] || [ ! -x "$linux" ]; then
  echo "ATMOCALC_LINUX_TOOL names no Linux tool to compare with"
  exit 77
fi
# Both in the Russian user's formats (wine takes its user locale from LANG), so that the dates of the
# report read the same.
export LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$linux" demo "$dir/demo" >/dev/null
cd "$dir/demo"
settings=(--std-mode 1 --press-grad 750 --press-an 745)
tables=(--components public/Documents/Veltra4/atmocalc/files/CompsTable.csv)

failures=0
# Runs one command line with both tools and compares standard output, standard error and status.
compare() {
  local name=$1 linuxStatus=0 windowsStatus=0
  shift
  "$linux" "$@" >"$dir/$name.linux.out" 2>"$dir/$name.linux.err" || linuxStatus=$?
  wine "$windows" "$@" >"$dir/$name.windows.out" 2>"$dir/$name.windows.err" </dev/null || windowsStatus=$?
  if [ "$linuxStatus" != "$windowsStatus" ]; then
    echo "$name: exit status $windowsStatus on Windows, $linuxStatus on Linux"
    failures=$((failures + 1))
  fi
  for stream in out err; do
    if ! cmp -s "$dir/$name.linux.$stream" "$dir/$name.windows.$stream"; then
      echo "$name: standard $stream differs (< Linux, > Windows):"
      diff "$dir/$name.linux.$stream" "$dir/$name.windows.$stream" | head -20 || true
      failures=$((failures + 1))
    fi
  done
}

compare help --help
compare calc calc --db host.db --ids 1,2,3,4,5,6,7,8 "${tables[@]}" "${settings[@]}"
compare calc-json-trace calc --db host.db --ids 1,2,3,4,5,6,7,8 "${tables[@]}" "${settings[@]}" --json --trace
compare calc-no-calibration calc --db host.db --ids 4,5 "${tables[@]}" --std-mode 2 --press-grad 760 --press-an 760
compare calc-missing-assay calc --db host.db --ids 1,999 "${tables[@]}" "${settings[@]}"
compare assay assay assays/assay1.stg
compare assay-json-samples assay assays/assay4.stg --json --samples
compare assay-missing assay assays/none.stg
compare sql sql --db host.db "SELECT * FROM assay ORDER BY id"
compare sql-error sql --db host.db "SELECT nothing FROM nowhere"
compare usage calc --db host.db --ids x
# The report: the same document and page but for the time they were made, which each system writes in
# its user's format.
report=(report --db host.db --ids 1,2,3,4,5,6,7,8 "${tables[@]}" "${settings[@]}"
  --template public/Documents/Veltra4/atmocalc/templates/Report.xsl)
for system in linux windows; do
  tool=$linux
  [ $system = linux ] || tool="wine $windows"
  $tool "${report[@]}" --out "$dir/$system.html" --xml "$dir/$system.xml" </dev/null >/dev/null
  iconv -f UTF-16LE -t UTF-8 "$dir/$system.xml" >"$dir/$system.xml.txt"
  made=$(grep -o 'date_created="[^"]*"' "$dir/$system.xml.txt" | head -1 | cut -d'"' -f2)
  [ -n "$made" ] || { echo "$system: the report document has no date"; failures=$((failures + 1)); }
  for file in "$dir/$system.xml.txt" "$dir/$system.html"; do
    sed -i "s|$made|<made>|g" "$file"
  done
done
for file in xml.txt html; do
  if ! cmp -s "$dir/linux.$file" "$dir/windows.$file"; then
    echo "report: the ${file%.txt} differs (< Linux, > Windows):"
    diff "$dir/linux.$file" "$dir/windows.$file" | head -20 || true
    failures=$((failures + 1))
  fi
done

[ "$failures" = 0 ] || exit 1
echo "the Windows tool's output matches the Linux tool's"
