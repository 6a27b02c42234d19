#!/usr/bin/env bash
# Installs quorlin as a Linux user would, and takes it away again:
#   - `cmake --install` into a scratch prefix: the program, its manual page
#     and its bash completion, each working;
#   - `cpack` makes the Debian package, which dpkg installs into a scratch
#     root (a file system tree with a dpkg database of its own) and removes,
#     leaving nothing behind.
# The machine's own files and dpkg database are never touched.
#
#   bash packaging/check-package.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:?usage: check-package.sh BUILD_DIR}" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "package check: $*" >&2; exit 1; }

# The manual page renders, the completion completes, the program runs.
check_tree() {  # prefix
    local prefix=$1
    [ -x "$prefix/bin/quorlin" ] || fail "no $prefix/bin/quorlin"
    "$prefix/bin/quorlin" --version | grep -q '^quorlin ' || fail "$prefix/bin/quorlin --version"
    local man=$prefix/share/man/man1/quorlin.1.gz
    [ -f "$man" ] || fail "no manual page at $man"
    MANWIDTH=80 man -l "$man" 2>/dev/null | grep -q -- '--save-list' || fail "the manual page does not render"
    local completion=$prefix/share/bash-completion/completions/quorlin
    [ -f "$completion" ] || fail "no bash completion at $completion"
    local got
    got=$(bash -c 'source "$1"; COMP_WORDS=(quorlin -a make-upp); COMP_CWORD=2; _quorlin; echo "${COMPREPLY[*]}"' \
        _ "$completion")
    [ "$got" = make-uppercase ] || fail "the completion offered '$got' for 'quorlin -a make-upp'"
}

# cmake --install
cmake --install "$build" --prefix "$scratch/prefix" --component quorlin >/dev/null
check_tree "$scratch/prefix"
echo "package check: cmake --install put quorlin, its manual page and its completion in place"

# cpack, then dpkg into a root of its own.
rm -rf "$build/packages"
(cd "$build" && cpack -G DEB >"$scratch/cpack.log" 2>&1) || { cat "$scratch/cpack.log"; fail "cpack failed"; }
deb=$(ls "$build"/packages/quorlin_*.deb)
root=$scratch/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
: >"$root/var/lib/dpkg/status"
dpkg_root() {
    local force=--force-depends  # the scratch root holds no libraries: the host's serve
    [ "$(id -u)" -eq 0 ] || force+=,not-root
    dpkg --root="$root" --log=/dev/null "$force" "$@"
}
dpkg_root -i "$deb" >/dev/null 2>&1 || { dpkg_root -i "$deb"; fail "dpkg -i failed"; }
dpkg_root -s quorlin | grep -q '^Status: install ok installed' || fail "dpkg does not list quorlin as installed"
check_tree "$root/usr"
dpkg_root -r quorlin >/dev/null 2>&1 || { dpkg_root -r quorlin; fail "dpkg -r failed"; }
left=$(find "$root" -path "$root/var" -prune -o -type f -print | wc -l)
[ "$left" -eq 0 ] || fail "$left files left after dpkg -r: $(find "$root" -path "$root/var" -prune -o -type f -print)"
if dpkg_root -s quorlin 2>/dev/null | grep -q '^Status: install ok installed'; then fail "still installed"; fi
echo "package check: $(basename "$deb") installed with dpkg and removed cleanly"
