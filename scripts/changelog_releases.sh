#!/usr/bin/env bash
# The AppStream <release> elements of a Debian changelog, newest first, on
# standard output: each entry's version and date with its items as a list.
#
#   changelog_releases.sh CHANGELOG VERSION BASE TODAY
#
# The entry on the way (UNRELEASED, undated) is dated TODAY (YYYY-MM-DD);
# when VERSION differs from BASE, the project version, the package is a
# build between releases: that entry carries VERSION and is a development
# release. The other entries are dated from their trailer lines.
set -euo pipefail
[ $# -eq 4 ] || { echo "usage: $0 CHANGELOG VERSION BASE TODAY" >&2; exit 2; }
awk -v version="$2" -v base="$3" -v today="$4" '
  function esc(t) { gsub(/&/, "\\&amp;", t); gsub(/</, "\\&lt;", t); gsub(/>/, "\\&gt;", t); return t }
  function flush_item() { if (item != "") { items = items "          <li>" esc(item) "</li>\n"; item = "" } }
  /^[a-z0-9][^ ]* \(/ {
    v = $2; gsub(/[()]/, "", v); unreleased = ($3 == "UNRELEASED;"); items = ""; item = ""; next
  }
  /^  \* / { flush_item(); item = substr($0, 5); next }
  /^    [^ ]/ { sub(/^ +/, ""); item = item " " $0; next }
  /^ -- / {
    flush_item()
    if (unreleased) { date = today; if (version != base) v = version }
    else {
      stamp = $0; sub(/.*  /, "", stamp)
      cmd = "date -u -d \"" stamp "\" +%F"
      if ((cmd | getline date) <= 0) { print "changelog_releases: no date in: " $0 > "/dev/stderr"; exit 1 }
      close(cmd)
    }
    type = (unreleased && version != base) ? " type=\"development\"" : ""
    printf "    <release version=\"%s\" date=\"%s\"%s>\n", esc(v), date, type
    printf "      <description>\n        <ul>\n%s        </ul>\n      </description>\n    </release>\n", items
  }' "$1"
