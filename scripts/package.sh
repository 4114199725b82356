#!/usr/bin/env bash
# Builds the Debian package morvane_VERSION_ARCH.deb in the repository root
# from the built and baked tree: the programs, the baked data tree and the
# shader sources (the CMake install rules), the desktop entry and icon, the
# software centre's AppStream metadata (its releases from the changelog,
# scripts/changelog_releases.sh), the man pages and the documents under
# packaging/.
#
# VERSION is the CMake project version, the release being made; a commit
# that is not its tag vVERSION is on the way there and adds
# "~gitDATE.TIME.COMMIT" (its commit's UTC date and time, so snapshots of
# one day sort in order), which sorts before the release. Then
# comes the Debian release it is built on and for, "+deb12" or "+deb13": the
# libraries it depends on are that release's, and 13's package sorts above
# 12's (a "+" after the "~git..." part keeps every snapshot below its
# release, where a "~" would not). The package is
# reproducible: every time stamp is SOURCE_DATE_EPOCH (default: the commit's
# time), members are sorted, owners are root, the programs are stripped of
# their debug information (the only place a build's paths show) and their
# build id is the hash of what is shipped, so two runs on the same commit,
# in any directories, give the same bytes.
#
# Releasing: the changelog's first entry (packaging/changelog) is the
# release on the way, UNRELEASED and undated; the package of the tag
# vVERSION dates it with the tag's commit. Starting the next version, give
# the released entry that date and add the next one, UNRELEASED, on top
# (with the new project version in CMakeLists.txt).
#
# A tree that is not built, or not baked (no data/.baked, or one older than
# bin/wendit), is built or baked first, after saying so: the package never
# carries a half-baked tree.
set -euo pipefail
umask 022
export LC_ALL=C
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

say() { echo "# package: $*"; }
die() { echo "## ERROR: package: $*" >&2; exit 1; }

# ------------------------------------------------------------ a built tree
if [ ! -f build/CMakeCache.txt ] || [ ! -x bin/morvane ] || [ ! -x bin/wendit ]; then
  say "the tree is not built (no build/ or no bin/morvane and bin/wendit): building it first"
  bash scripts/build.sh
fi
for option in WENDIT_SANITIZE WENDIT_FUZZ; do
  if grep -q "^$option:BOOL=ON" build/CMakeCache.txt; then
    die "build/ is configured with $option=ON: a package carries the plain programs (configure build/ without it)"
  fi
done
say "bringing bin/morvane and bin/wendit up to date"
cmake --build build --target morvane wendit -j"$(nproc)" >/dev/null

# ------------------------------------------------------------ a baked tree
if [ ! -f data/.baked ]; then
  say "the data tree is not baked (no data/.baked): baking it first"
  bash scripts/bake.sh >/dev/null
elif [ bin/wendit -nt data/.baked ]; then
  say "the data tree was baked by an older bin/wendit: baking it again"
  bash scripts/bake.sh >/dev/null
fi
[ -f data/.baked ] || die "the bake did not finish (no data/.baked): nothing packaged"
(cd bin && ./wendit check ../data >/dev/null) || die "wendit check finds problems in data/: nothing packaged"

# ------------------------------------------------------------ version
base="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/CMakeCache.txt)"
[ -n "$base" ] || die "build/CMakeCache.txt names no project version"
version="$base"
snapshot=""  # the commit, when this is not the release itself
if git rev-parse --git-dir >/dev/null 2>&1; then
  commit_time="$(git log -1 --format=%ct)"
  if ! git tag --points-at HEAD | grep -qx "v$base"; then
    snapshot="$(git rev-parse --short=8 HEAD)"
    # The commit's time before its id: snapshots of one day sort in the
    # order they were made, not by their ids.
    version="$base~git$(date -u -d "@$commit_time" +%Y%m%d.%H%M%S).$snapshot"
  fi
  if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
    say "warning: the working tree has uncommitted changes; the package is not what commit $(git rev-parse --short=8 HEAD) alone builds"
  fi
else
  commit_time="$(stat -c %Y CMakeLists.txt)"
fi
# The Debian release this is built on: its libraries are the package's.
debian_release="$(. /etc/os-release 2>/dev/null && echo "${VERSION_ID:-}")"
case "$debian_release" in
  '' | *[!0-9]*) say "warning: not built on a numbered Debian release: the version names none" ;;
  *) version="$version+deb$debian_release" ;;
esac
export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$commit_time}"
arch="$(dpkg --print-architecture)"
maintainer="${MORVANE_MAINTAINER:-The morvane authors <morvane@example.org>}"
deb="morvane_${version}_${arch}.deb"
say "version $version, time stamps $(date -u -d "@$SOURCE_DATE_EPOCH" '+%F %T') UTC"

# ------------------------------------------------------------ the tree
work="$root/build/package"
stage="$work/root"
rm -rf "$work"
mkdir -p "$stage"
DESTDIR="$stage" cmake --install build --prefix /usr >/dev/null
# The linker's build id hashes the debug information too, which names the
# directories the objects were compiled in: after stripping, the id becomes
# the hash of the stripped program itself (with the id zeroed).
set_build_id() {
  local file="$1" offset desc id
  offset="$(readelf -SW "$file" | sed -n 's/.*\.note\.gnu\.build-id *NOTE *[0-9a-f]* \([0-9a-f]*\) .*/\1/p')"
  [ -n "$offset" ] || return 0
  desc=$((0x$offset + 16))  # past the note's three sizes and its name "GNU"
  dd if=/dev/zero of="$file" bs=1 seek="$desc" count=20 conv=notrunc status=none
  id="$(sha1sum "$file" | cut -c1-40)"
  printf "$(echo "$id" | sed 's/../\\x&/g')" | dd of="$file" bs=1 seek="$desc" conv=notrunc status=none
}
for program in "$stage"/usr/games/*; do
  strip --strip-all --remove-section=.comment "$program"
  set_build_id "$program"
done
# The installed data are the baked ones, byte for byte.
diff -r --exclude=.baked data "$stage/usr/share/games/morvane/data" >/dev/null ||
  die "the installed data differ from data/"

man_date="$(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d')"
install_text() {  # SOURCE DESTINATION: a text file with @VERSION@ and @DATE@ filled in
  mkdir -p "$(dirname "$2")"
  sed -e "s/@VERSION@/$version/g" -e "s/@DATE@/$man_date/g" "$1" >"$2"
  chmod 644 "$2"
}
install_text packaging/morvane.6 "$stage/usr/share/man/man6/morvane.6"
install_text packaging/wendit.1 "$stage/usr/share/man/man1/wendit.1"
# The desktop entry and the software centre's metadata share one id.
app_id="io.github.morvane.Morvane"
install_text "packaging/$app_id.desktop" "$stage/usr/share/applications/$app_id.desktop"
doc="$stage/usr/share/doc/morvane"
install_text packaging/copyright "$doc/copyright"
# The changelog's first entry is the release on the way (UNRELEASED, no
# date yet): a release build dates it with the tag's commit, a build
# between releases names its commit in it under its own version.
first="$(sed -n '1s/^morvane (\([^)]*\)) UNRELEASED;.*/\1/p' packaging/changelog)"
[ "$first" = "$base" ] ||
  die "packaging/changelog must begin with 'morvane ($base) UNRELEASED; ...' (the project version's entry)"
{
  sed -n "1s/(.*) UNRELEASED;/($version) unstable;/p" packaging/changelog
  echo
  if [ -n "$snapshot" ]; then
    echo "  * Built from commit $snapshot, on the way to release $base."
  fi
  sed -e '1,2d' -e "s|@MAINTAINER@|$maintainer|" -e "s/@CHANGELOG_DATE@/$(date -u -R -d "@$SOURCE_DATE_EPOCH")/" \
    packaging/changelog
} >"$doc/changelog"
metainfo="$stage/usr/share/metainfo/$app_id.metainfo.xml"
mkdir -p "$(dirname "$metainfo")"
# The metadata's releases are the changelog's entries.
bash scripts/changelog_releases.sh packaging/changelog "$version" "$base" "$(date -u -d "@$SOURCE_DATE_EPOCH" +%F)" \
  >"$work/releases.xml"
[ -s "$work/releases.xml" ] || die "packaging/changelog gives no release for the metadata"
sed -e "/^@RELEASES@\$/{r $work/releases.xml" -e "d}" "packaging/$app_id.metainfo.xml" >"$metainfo"
chmod 644 "$metainfo"
gzip -9n "$doc/changelog" "$stage/usr/share/man/man6/morvane.6" "$stage/usr/share/man/man1/wendit.1"
for size in 48 256; do
  icon="$stage/usr/share/icons/hicolor/${size}x${size}/apps/morvane.png"
  mkdir -p "$(dirname "$icon")"
  (cd bin && ./wendit icon --size "$size" -o "$icon")
  chmod 644 "$icon"
done

# ------------------------------------------------------------ control
# dpkg-shlibdeps reads the package's name from a debian/control of its own.
mkdir -p "$work/debian" "$stage/DEBIAN"
printf 'Source: morvane\n\nPackage: morvane\nArchitecture: any\n' >"$work/debian/control"
libs="$(cd "$work" && dpkg-shlibdeps -O -e root/usr/games/morvane -e root/usr/games/wendit 2>/dev/null |
        sed -n 's/^shlibs:Depends=//p')"
[ -n "$libs" ] || die "dpkg-shlibdeps found no shared libraries"
installed_kb="$(find "$stage" -path "$stage/DEBIAN" -prune -o -type f -printf '%s\n' |
                awk '{ kb += int(($1 + 1023) / 1024) } END { print kb }')"
cat >"$stage/DEBIAN/control" <<EOF
Package: morvane
Version: $version
Architecture: $arch
Maintainer: $maintainer
Installed-Size: $installed_kb
Depends: $libs, xvfb
Recommends: fonts-league-spartan, fonts-dejavu-core
Section: games
Priority: optional
Description: real-time audio-visual demo: ink and light at dusk
 Morvane plays a piece of music from start to end and renders, in step
 with it, a fixed show of 3-D and 2-D scenes composed through off-screen
 render targets and post-processing: a mandala cube folded by a
 kaleidoscope, a spiked ball, a night sky with a star, ink portraits.
 .
 Without a display it records the show to a video instead. The package
 also carries wendit, the show's developer tool: it checks, captures,
 profiles and bakes the data tree and draws its timeline (baking and
 drawing need the two font packages).
EOF
(cd "$stage" && find usr -type f | sort | xargs md5sum) >"$stage/DEBIAN/md5sums"
chmod 644 "$stage/DEBIAN/control" "$stage/DEBIAN/md5sums"

# ------------------------------------------------------------ the archive
find "$stage" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
rm -f "$deb"
dpkg-deb --root-owner-group -Zxz -z6 --threads-max=1 --build "$stage" "$deb" >/dev/null
say "wrote $root/$deb ($(du -k "$deb" | cut -f1) KiB)"
if command -v lintian >/dev/null 2>&1; then
  lintian --fail-on error "$deb" || die "lintian reports errors in $deb"
fi
