#!/bin/sh
# Installs the build in $1 into a temporary prefix, as `cmake --install` does for a
# user, and checks what the desktop and man read there.
set -eu
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT INT TERM

fail() {
    echo "check-install: $*" >&2
    exit 1
}

cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install failed"

for file in bin/ekview bin/ekview-cli share/man/man1/ekview.1 share/man/man1/ekview-cli.1 \
    share/applications/ekview.desktop share/mime/packages/ekview.xml \
    share/icons/hicolor/scalable/apps/ekview.svg; do
    [ -e "$prefix/$file" ] || fail "$file was not installed"
done
for size in 16 32 48 64 128 256; do
    icon=share/icons/hicolor/${size}x${size}/apps/ekview.png
    [ -e "$prefix/$icon" ] || fail "$icon was not installed"
    file "$prefix/$icon" | grep -q "PNG image data, $size x $size" || fail "$icon is not $size x $size"
done

command -v desktop-file-validate >/dev/null ||
    fail "desktop-file-validate is missing (scripts/install-deps.sh installs it)"
desktop=$prefix/share/applications/ekview.desktop
# Hints count too: the entry is to pass without a remark.
remarks=$(desktop-file-validate "$desktop" 2>&1) || fail "the desktop entry is not valid: $remarks"
[ -z "$remarks" ] || fail "desktop-file-validate: $remarks"
# The entry starts the installed viewer with one file, and names the icon installed.
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
[ "$exec_line" = "ekview %f" ] || fail "Exec is '$exec_line'"
[ "$(sed -n 's/^Icon=//p' "$desktop")" = ekview ] || fail "Icon is not ekview"
grep -q '^MimeType=.*application/x-ekmail-mailbox;' "$desktop" || fail "MimeType lacks our type"

# The MIME package is one the database accepts, and it claims *.mbx.
if command -v update-mime-database >/dev/null; then
    grep -q '^application/x-ekmail-mailbox:\*\.mbx$' "$prefix/share/mime/globs" ||
        fail "the MIME database has no *.mbx for application/x-ekmail-mailbox"
fi

# The manual pages format without a warning.
if command -v groff >/dev/null; then
    for page in ekview ekview-cli; do
        warnings=$(LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z "$prefix/share/man/man1/$page.1" 2>&1)
        [ -z "$warnings" ] || fail "$page.1: $warnings"
    done
fi

# The installed programs run from where they were put.
"$prefix/bin/ekview" --version | grep -q '^EKView Version ' || fail "ekview --version"
"$prefix/bin/ekview-cli" --version | grep -q 'EKView' || fail "ekview-cli --version"
echo "check-install: all installed files are in place and valid"
