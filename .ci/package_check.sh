#!/usr/bin/env bash
# The package as a viewer meets it: built by scripts/package.sh (lintian
# must find no error), installed with apt-get, the show recorded headless
# for two seconds from a directory outside the repository, the installed
# data checked, then removed, leaving nothing of it behind.
set -euo pipefail
cd "$(dirname "$0")/.."
repo="$(pwd)"
export DEBIAN_FRONTEND=noninteractive

apt-get install -y -qq --no-install-recommends lintian desktop-file-utils appstream man-db >/dev/null
bash scripts/package.sh
deb="$(ls -t morvane_*.deb | head -n 1)"  # the one just built
# A check that failed half-way leaves its package installed, and it may be
# of a later commit than the one just built, which apt would not put back.
if dpkg-query -W -f='${Status}\n' morvane 2>/dev/null | grep -q "install ok installed"; then
  echo "# ci: removing the morvane package an earlier check left installed"
  apt-get remove -y -qq morvane >/dev/null
fi
apt-get install -y -qq "./$deb" >/dev/null
echo "# ci: installed $deb"

# The desktop entry and the software centre's metadata, as installed: one
# id, and the entry the metadata launches is the one installed.
app_id="io.github.morvane.Morvane"
desktop-file-validate "/usr/share/applications/$app_id.desktop"
appstreamcli validate --no-net "/usr/share/metainfo/$app_id.metainfo.xml"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "/usr/share/metainfo/$app_id.metainfo.xml"
grep -q "<release version=\"$(dpkg-query -W -f='${Version}' morvane)\"" "/usr/share/metainfo/$app_id.metainfo.xml"
man -P cat morvane 2>/dev/null | grep -q "a real-time audio-visual demo"
man -P cat wendit 2>/dev/null | grep -q "the developer tool"
# The data the package carries are the bake's, byte for byte.
diff -r --exclude=.baked data /usr/share/games/morvane/data

# /usr/games is on a user's PATH; root's PATH leaves it out.
export PATH="$PATH:/usr/games"
work="$(mktemp -d /tmp/morvane-ci.XXXXXX)"
stamp="$work/.stamp"
touch "$stamp"
(
  cd "$work"
  env -u DISPLAY morvane --loop 10 12
  test -s morvane.mp4
  wendit check
  # The timeline's picture, drawn with the installed faces into the work directory.
  wendit timeline --plot timeline.png >/dev/null
  test -s timeline.png
  # wendit check's DATA_DIR is the user's: a relative name in the work directory.
  if wendit check nothing-here >/dev/null 2>&1; then echo "## ERROR: wendit check nothing-here passed" >&2; exit 1; fi
)
written="$(find /usr/games /usr/share/games/morvane -newer "$stamp")"
if [ -n "$written" ]; then
  echo "## ERROR: the installed programs wrote into /usr:" >&2
  echo "$written" >&2
  exit 1
fi

files="$(dpkg-query -L morvane)"
apt-get remove -y -qq morvane >/dev/null
left=""
while IFS= read -r f; do
  case "$f" in
    /usr/share/games/morvane* | /usr/share/doc/morvane* | /usr/games/morvane | /usr/games/wendit) [ -e "$f" ] && left+="$f"$'\n' ;;
    *) [ -e "$f" ] && [ ! -d "$f" ] && left+="$f"$'\n' ;;
  esac
done <<<"$files"
if [ -n "$left" ] || dpkg-query -W -f='${Status}\n' morvane 2>/dev/null | grep -qv "not-installed"; then
  echo "## ERROR: apt-get remove morvane left behind:" >&2
  printf '%s' "$left" >&2
  dpkg-query -W -f='${Status}\n' morvane >&2 || true
  exit 1
fi
rm -rf "$work"
cd "$repo"
echo "# ci: the package builds, installs, plays headless, checks and removes cleanly"
