#!/usr/bin/env bash
# Renders an HTML file in headless Chromium as a reader sees and prints it:
#   render_in_chromium.sh HTML OUT [--screenshot]
# writes OUT.dom.html (the document after loading), OUT.pdf (the printed pages, A4 by the page's own
# rules), OUT.txt (their text in the order it is drawn, no line-end hyphen removed, pages ended by form
# feeds) and with --screenshot OUT.png (the screen).
# Exit status 77 when chromium or pdftotext is not installed; the browser's own messages go to OUT.log.
set -euo pipefail
html=$1 out=$2 screenshot=${3:-}
for tool in chromium pdftotext; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed (./run deps installs it)" >&2; exit 77; }
done
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
url="file://$(realpath "$html")"
browser=(timeout 300 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run
  --disable-background-networking --disable-component-update --disable-sync --user-data-dir="$profile")
"${browser[@]}" --no-pdf-header-footer --dump-dom --print-to-pdf="$out.pdf" "$url" >"$out.dom.html" 2>"$out.log" ||
  { echo "chromium failed on $html (see $out.log)" >&2; exit 1; }
pdftotext -raw -enc UTF-8 "$out.pdf" "$out.txt"
if [ "$screenshot" = --screenshot ]; then
  "${browser[@]}" --hide-scrollbars --window-size=1000,1700 --screenshot="$out.png" "$url" >>"$out.log" 2>&1 ||
    { echo "chromium could not take the screenshot of $html (see $out.log)" >&2; exit 1; }
fi
