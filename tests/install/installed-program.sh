#!/usr/bin/env bash
# Installs the build into a temporary root (DESTDIR) and runs the installed program offscreen
# with HOME and the XDG folders inside a temporary folder, checking where it finds the world and
# where it keeps user.xml and the settings file.
# Usage: installed-program.sh <build folder> <expected version>
set -euo pipefail
build=$1
version=$2

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$tmp/root" cmake --install "$build" --prefix /usr >/dev/null
prefix="$tmp/root/usr"
program="$prefix/bin/brix-tools"
share="$prefix/share"
for f in bin/brix-tools share/brix-tools/kestrel.zip \
         share/applications/tools.brix.BrixTools.desktop \
         share/metainfo/tools.brix.BrixTools.metainfo.xml \
         share/icons/hicolor/scalable/apps/brix-tools.svg \
         share/icons/hicolor/16x16/apps/brix-tools.png \
         share/icons/hicolor/256x256/apps/brix-tools.png; do
  [ -f "$prefix/$f" ] || fail "not installed: $f"
done

# Nothing outside the temporary folder may count: no system data dirs, a fresh home.
export HOME="$tmp/home"
unset XDG_DATA_HOME XDG_CONFIG_HOME XDG_CACHE_HOME XDG_STATE_HOME
export XDG_DATA_DIRS="$tmp/xdg-data"
export XDG_CONFIG_DIRS="$tmp/xdg-config"
export XDG_RUNTIME_DIR="$tmp/runtime"
export QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME" "$XDG_DATA_DIRS" "$XDG_CONFIG_DIRS" "$XDG_RUNTIME_DIR" "$tmp/empty"
chmod 700 "$XDG_RUNTIME_DIR"
perUser="$HOME/.local/share/brix-tools"

# A program that cannot find its world shows a message box, which nobody closes offscreen.
run() { timeout 120 "$program" "$@"; }

out=$(cd "$tmp/empty" && run --version)
[ "$out" = "brix-tools $version" ] || fail "--version printed '$out'"
(cd "$tmp/empty" && run --help) | grep -q -- "--close-when-shown" || fail "--help lacks the options"

# 1. Installed copy: the world comes from share/brix-tools, the user's files go to the per-user
#    folder, created on the first save, and the installed folder is left as it was.
before=$(ls -A "$share/brix-tools")
(cd "$tmp/empty" && run --close-when-shown) || fail "installed copy did not start and close"
[ -f "$perUser/user.xml" ] || fail "user.xml not in $perUser"
[ -f "$perUser/brix-tools.ini" ] || fail "settings file not in $perUser"
[ "$(ls -A "$share/brix-tools")" = "$before" ] || fail "files written beside the installed world"
[ -z "$(ls -A "$tmp/empty")" ] || fail "files written into the working folder"

#    A character in the per-user user.xml survives the next run.
printf '<brix-data><Character><Name>Ann</Name></Character></brix-data>\n' >"$perUser/user.xml"
(cd "$tmp/empty" && run --close-when-shown) || fail "second run failed"
grep -q "<Name>Ann</Name>" "$perUser/user.xml" || fail "the character did not survive a restart"

# 2. A writable data folder (a world in the working folder) keeps the files beside the world.
mkdir "$tmp/work"
cp "$share/brix-tools/kestrel.zip" "$tmp/work/"
rm -rf "$perUser"
(cd "$tmp/work" && run --close-when-shown) || fail "run from a writable world folder failed"
[ -f "$tmp/work/user.xml" ] && [ -f "$tmp/work/brix-tools.ini" ] ||
  fail "files not kept beside a writable world"
[ ! -e "$perUser" ] || fail "per-user folder used although the world's folder is writable"

# 3. An archive named on the command line wins over the one in the working folder.
mkdir "$tmp/named"
cp "$share/brix-tools/kestrel.zip" "$tmp/named/other-world.zip"
rm "$tmp/work/user.xml" "$tmp/work/brix-tools.ini"
(cd "$tmp/work" && run --close-when-shown ../named/other-world.zip) || fail "argument run failed"
[ -f "$tmp/named/user.xml" ] || fail "the named archive's folder did not get user.xml"
[ ! -e "$tmp/work/user.xml" ] || fail "the working folder's world was used despite the argument"

echo "installed program: all checks passed"
