#!/bin/sh
# Runs the Install commands of README.md exactly as written, as a user would, in a
# copy of the source tree (so that its build/ is not ours) with HOME in a temporary
# folder, so that "cmake --install build --prefix ~/.local" installs there; the
# system-wide "sudo" line is its alternative and is left out. Then checks what
# was installed, that the viewer's help and ekview-cli run from there, that the
# build printed no warning about our code, and that the manifest removes it all.
#   scripts/check-install-commands.sh          (CI runs it from .ci/run)
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
tree=$work/src
home=$work/home
mkdir -p "$tree" "$home"

fail() {
    echo "check-install-commands: $*" >&2
    exit 1
}

# The indented lines of the "## Install" section, up to the next heading.
awk '/^## / { inside = ($0 == "## Install"); next }
     inside && /^    [^ ]/ { sub(/^    /, ""); print }' README.md >"$work/commands"
[ -s "$work/commands" ] || fail "README.md has no Install commands"
grep -q 'cmake --build build' "$work/commands" || fail "the Install commands build nothing"

# The tree as a clean clone has it: no build folders of ours, no git metadata.
tar --exclude='./build*' --exclude=./.git -cf - . | tar -xf - -C "$tree"

cd "$tree"
while IFS= read -r command; do
    case "$command" in
        sudo\ *) echo "== (system-wide alternative, not run) $command"; continue ;;
    esac
    echo "== $command"
    HOME=$home sh -c "$command" >"$work/step.log" 2>&1 || {
        tail -n 60 "$work/step.log" >&2
        fail "failed: $command"
    }
    cat "$work/step.log" >>"$work/all.log"
done <"$work/commands"

# A user's build may warn without failing; ours is to stay warning-free.
# (A warning may point into a library header where our code was inlined.)
if grep -qE ': warning: ' "$work/all.log"; then
    # Each warning with the line of ours it was inlined from, if any.
    grep -B 12 -E ': warning: ' "$work/all.log" | grep -E "at $tree/|: warning: " |
        sed "s|$tree/||g" >&2 || true
    fail "the Release build warned about our code"
fi

prefix=$home/.local
for file in bin/ekview bin/ekview-cli share/man/man1/ekview.1 share/applications/ekview.desktop \
    share/mime/packages/ekview.xml; do
    [ -e "$prefix/$file" ] || fail "$file was not installed under ~/.local"
done
grep -q '^CMAKE_BUILD_TYPE:STRING=Release$' build/CMakeCache.txt || fail "not a Release build"
"$prefix/bin/ekview" --help >/dev/null || fail "the installed ekview does not answer --help"
"$prefix/bin/ekview-cli" list "$root/samples/sample.mbx" >/dev/null ||
    fail "the installed ekview-cli cannot list the sample"

# The README's way to remove it again.
xargs rm <build/install_manifest.txt
[ ! -e "$prefix/bin/ekview" ] || fail "install_manifest.txt did not remove the viewer"
echo "check-install-commands: the README's Install commands build, install and uninstall"
