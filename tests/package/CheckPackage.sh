#!/usr/bin/env bash
# Builds the Debian package from the build tree and checks it without installing it: its name,
# control fields, conffiles and file list, the machine settings it carries, and lintian's verdict.
# Usage: CheckPackage.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >/dev/null
deb="$out/penlark_${version}_amd64.deb"
[ -f "$deb" ] || fail "no $deb"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = penlark ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = amd64 ] || fail "Architecture: $(field Architecture)"
for dependency in libcurl4 libxml2 libqt6widgets6 libreoffice-writer; do
  field Depends | grep -qw "$dependency" || fail "Depends lacks $dependency: $(field Depends)"
done

control=$out/control
dpkg-deb -e "$deb" "$control"
[ "$(cat "$control/conffiles")" = /etc/penlark/registry.reg ] || fail "conffiles"
for script in postinst prerm; do
  grep -q "unopkg .*--shared" "$control/$script" || fail "$script does not call unopkg --shared"
done

files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for file in ./usr/bin/penlark ./usr/share/penlark/docs/running.html \
    ./usr/share/penlark/extension/penlark.oxt ./etc/penlark/registry.reg \
    ./usr/share/doc/penlark/copyright; do
  grep -qx -- "$file" <<<"$files" || fail "missing $file"
done
if grep -v '^\./\(usr\|etc\)/' <<<"$files" | grep -qv '^\./$'; then
  fail "files outside /usr and /etc"
fi

dpkg-deb -x "$deb" "$out/root"
grep -q '"InstallPath"="/usr/share/penlark"' "$out/root/etc/penlark/registry.reg" ||
  fail "registry.reg does not name /usr/share/penlark"

errors=$(lintian --no-tag-display-limit "$deb" 2>/dev/null | grep '^E:' || true)
[ -z "$errors" ] || fail "lintian: $errors"
echo "penlark_${version}_amd64.deb: fields, files and lintian in order"
