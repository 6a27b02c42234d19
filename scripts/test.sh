#!/usr/bin/env bash
# Installs what is missing, builds the native and the Windows tree, and runs
# every test: natively, and the Windows programs under Wine.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
"$top/scripts/install-deps.sh" || exit 1

jobs=$(nproc 2>/dev/null || echo 2)
status=0

build() {  # name, extra cmake arguments...
    local name=$1
    shift
    cmake -S . -B "build/$name" -G Ninja "$@" >"build-$name.log" 2>&1 &&
        cmake --build "build/$name" -j "$jobs" >>"build-$name.log" 2>&1 ||
        { tail -n 60 "build-$name.log"; echo "BUILD FAILED: $name tree"; return 1; }
}

cleanup_wine() {
    local state=build/windows/wine-state
    if [ -f "$state/xvfb.pid" ]; then kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true; rm -f "$state/xvfb.pid"; fi
    WINEPREFIX="$top/build/windows/wineprefix" wineserver -k 2>/dev/null || true
}
trap cleanup_wine EXIT

count() {  # results folder -> "cases failures"
    cat "$1"/*.xml 2>/dev/null | grep -o '<testsuites [^>]*' |
        sed -E 's/.* tests="([0-9]+)".* failures="([0-9]+)".*/\1 \2/' |
        awk '{t += $1; f += $2} END {printf "%d %d", t, f}'
}

mkdir -p build
rm -rf build/native/test-results build/windows/test-results
# Warnings are errors here, in every tree. A Release build of the product
# (no tests) shows that the optimiser's stricter analysis finds nothing either.
build native -DQLN_WERROR=ON || status=1
build windows -DQLN_WERROR=ON -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake || status=1
build release -DQLN_WERROR=ON -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF || status=1

summary=()
# quorlin installs like a Linux tool: cmake --install, and its Debian package
# installed and removed with dpkg (into a scratch root).
if [ -d build/native ]; then
    echo "=== package ==="
    if bash packaging/check-package.sh build/native; then
        summary+=("package: installed and removed")
    else
        summary+=("package: FAILED")
        status=1
    fi
fi
for tree in native windows; do
    [ -d "build/$tree" ] || continue
    echo "=== $tree tests$([ "$tree" = windows ] && echo ' (under Wine)') ==="
    mkdir -p "build/$tree/test-results"
    ctest --test-dir "build/$tree" --output-on-failure -j "$jobs" </dev/null || status=1
    read -r cases failed <<<"$(count "build/$tree/test-results")"
    summary+=("$tree: $cases test cases, $failed failed")
done
cleanup_wine

echo "=== summary ==="
printf '%s\n' "${summary[@]}"
[ $status -eq 0 ] && echo "ALL TESTS PASSED" || echo "SOME TESTS FAILED"
exit $status
