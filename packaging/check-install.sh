#!/usr/bin/env bash
# Installs a build into a temporary root (DESTDIR) and checks what a desktop reads from it: the desktop
# entry, the file types, the icon, the manual pages and the installed programs. Then builds the Debian
# package and checks that it holds the same files, that its dependencies were found and that its
# programs run. Usage: packaging/check-install.sh BUILD_DIR SOURCE_DIR
set -euo pipefail

build="$(realpath "$1")"
source="$(realpath "$2")"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
step() { echo "== $*"; }

step "cmake --install into a temporary root"
DESTDIR="$root/dest" cmake --install "$build" --prefix /usr >/dev/null
usr="$root/dest/usr"
installed=(bin/lapidraw bin/lapidraw-tool share/applications/lapidraw.desktop share/mime/packages/lapidraw.xml
    share/icons/hicolor/scalable/apps/lapidraw.svg
    share/icons/hicolor/scalable/mimetypes/application-x-lapidraw-design.svg
    share/man/man1/lapidraw.1.gz share/man/man1/lapidraw-tool.1.gz)
for file in "${installed[@]}"; do
    [ -e "$usr/$file" ] || fail "not installed: /usr/$file"
done

step "desktop entry"
desktop="$usr/share/applications/lapidraw.desktop"
desktop-file-validate "$desktop"
grep -qx 'Exec=lapidraw %f' "$desktop" || fail "the desktop entry does not pass the file to open"

step "file types"
# The document type that the system's own MIME database declares.
dtd="$root/shared-mime-info.dtd"
sed -n '/<!DOCTYPE mime-info \[/,/^\]>/p' /usr/share/mime/packages/freedesktop.org.xml | sed '1d;$d' >"$dtd"
[ -s "$dtd" ] || fail "no document type in /usr/share/mime/packages/freedesktop.org.xml"
xmllint --noout --dtdvalid "$dtd" "$usr/share/mime/packages/lapidraw.xml"
xmllint --noout "$usr/share/icons/hicolor/scalable/apps/lapidraw.svg"
# Compiled together with the system's types, each extension leads to its type.
mime="$root/mime"
mkdir -p "$mime/packages"
cp /usr/share/mime/packages/freedesktop.org.xml "$usr/share/mime/packages/lapidraw.xml" "$mime/packages/"
XDG_DATA_HOME="$root" update-mime-database "$mime"
for glob in 'application/x-lapidraw-design:*.lfx' 'application/x-lapidraw-outline:*.otl' 'application/x-gemcad-asc:*.asc'; do
    grep -qF ":$glob" "$mime/globs2" || fail "no glob $glob"
done
grep -q "application/x-gemcad-asc" "$mime/magic" || fail "ASC files are not told from other .asc files"
# Every type the desktop entry handles is declared.
for type in $(sed -n 's/^MimeType=//p' "$desktop" | tr ';' ' '); do
    grep -qx "$type" "$mime/types" || fail "the desktop entry handles an undeclared type $type"
done

step "manual pages"
for page in lapidraw lapidraw-tool; do
    zcat "$usr/share/man/man1/$page.1.gz" | grep -q '^\.SH NAME' || fail "$page.1 has no NAME section"
done

step "installed programs"
export XDG_CONFIG_HOME="$root/config" TMPDIR="$root/tmp"
mkdir -p "$TMPDIR"
"$usr/bin/lapidraw-tool" --version | grep -q '^lapidraw-tool [0-9]' || fail "lapidraw-tool --version"
"$usr/bin/lapidraw-tool" info "$source/tests/data/lfx/box.lfx" | grep -q '"type": *"crown"' ||
    fail "the installed lapidraw-tool does not read a design"
"$usr/bin/lapidraw" --version | grep -q '^lapidraw [0-9]' || fail "lapidraw --version"
# The window program opens a design and keeps running until it is stopped.
status=0
QT_QPA_PLATFORM=offscreen timeout 5 "$usr/bin/lapidraw" "$source/tests/data/lfx/box.lfx" >/dev/null 2>&1 || status=$?
[ "$status" -eq 124 ] || fail "the installed lapidraw ended at start (exit status $status)"

step "Debian package"
cpack --config "$build/CPackConfig.cmake" -B "$root/package" >/dev/null
deb=("$root"/package/lapidraw_*.deb)
[ -f "${deb[0]}" ] || fail "no package was made"
depends="$(dpkg-deb -f "${deb[0]}" Depends)"
echo "Depends: $depends"
for library in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libstdc++6; do
    [[ "$depends" == *"$library "* || "$depends" == *"$library," || "$depends" == *"$library" ]] ||
        fail "the package does not depend on $library"
done
diff <(cd "$root/dest" && find . -not -type d | sort) \
    <(dpkg-deb -c "${deb[0]}" | awk '$1 !~ /^d/ {print $6}' | sort) ||
    fail "the package and the install differ"
dpkg-deb -x "${deb[0]}" "$root/unpacked"
"$root/unpacked/usr/bin/lapidraw-tool" --version >/dev/null || fail "the packaged lapidraw-tool does not run"
echo "package ${deb[0]##*/} checked"
