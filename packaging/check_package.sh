#!/usr/bin/env bash
# Builds the Debian package the way a release is built (no tests, GoogleTest
# not even looked for), checks what it holds and what it depends on, unpacks
# it into a scratch root, finds every library each binary needs, validates
# the desktop entries, and starts the unpacked CRV_Sci under an X server with
# a window manager: once with no settings at all, once on a sample workspace
# written by the unpacked crv_sample. Each start reaches the main window and
# leaves through File > Exit with status 0. The programs must hold no
# test-only code (recording presenter, window pictures, fake engine).
# Usage: packaging/check_package.sh [BUILD_DIR]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-package}"
version="$(sed -n 's/^project(Corvane VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
arch="$(dpkg --print-architecture)"
deb="corvane_${version}_${arch}.deb"

fail() {
  echo "package check: $*" >&2
  exit 1
}

echo "-- building $deb in $build"
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S "$root" -B "$build" -G Ninja --no-warn-unused-cli -DCMAKE_COMPILE_WARNING_AS_ERROR="${CRV_WARNINGS_AS_ERRORS:-OFF}" -DCRV_BUILD_TESTS=OFF -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON \
  "${launcher[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)" >/dev/null
rm -f "$build"/corvane_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/corvane_*.deb)
[ "${#debs[@]}" -eq 1 ] && [ "${debs[0]}" = "$build/$deb" ] || fail "expected one $deb, found: ${debs[*]}"
package="$build/$deb"

echo "-- contents"
# Exactly the five programs' files, the entries, icons and docs: no test,
# benchmark or fuzz binary, nothing outside /usr.
listing="$(dpkg-deb -c "$package" | awk '{print $6}' | grep -v '/$')"
expected_files=(
  ./usr/bin/CRV ./usr/bin/CRV_Sci ./usr/bin/crv50 ./usr/bin/crv_sample ./usr/lib/libcrv50.so
  ./usr/share/applications/corvane-crv.desktop ./usr/share/applications/corvane-crv-sci.desktop
  ./usr/share/icons/hicolor/scalable/apps/corvane-crv.svg
  ./usr/share/icons/hicolor/48x48/apps/corvane-crv-sci.png
  ./usr/share/doc/corvane/README.md ./usr/share/doc/corvane/docs/architecture.md
)
for f in "${expected_files[@]}"; do
  grep -qxF "$f" <<<"$listing" || fail "$deb lacks $f"
done
unexpected="$(grep -v -E '^\./usr/(bin/(CRV|CRV_Sci|crv50|crv_sample)|lib/libcrv50\.so|share/(applications|icons/hicolor|doc/corvane)/.*)$' <<<"$listing" || true)"
[ -z "$unexpected" ] || fail "$deb holds files it should not: $unexpected"

echo "-- dependencies"
depends="$(dpkg-deb -f "$package" Depends)"
echo "   Depends: $depends"
# One package name a line, versions and alternatives' bars taken off.
names="$(tr ',|' '\n\n' <<<"$depends" | sed 's/(.*//; s/ //g')"
for d in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 fonts-liberation2; do
  grep -qxF "$d" <<<"$names" || fail "Depends lacks $d"
done

scratch="$(mktemp -d "${TMPDIR:-/tmp}/corvane-package.XXXXXX")"
trap 'rm -rf "$scratch"' EXIT
unpacked="$scratch/root"
dpkg-deb -x "$package" "$unpacked"

echo "-- libraries of every binary"
for f in "$unpacked"/usr/bin/* "$unpacked"/usr/lib/libcrv50.so; do
  out="$(ldd "$f" 2>&1)" || fail "ldd $f: $out"
  if grep -q "not found" <<<"$out"; then fail "$f: $(grep 'not found' <<<"$out")"; fi
done
# The programs export their symbols (the engine's message hook finds them
# so), which also shows whether any test-only code was linked in.
for f in "$unpacked"/usr/bin/CRV "$unpacked"/usr/bin/CRV_Sci; do
  symbols="$(nm -D -C "$f")" || fail "nm $f failed"
  grep -q "QtMessagePresenter" <<<"$symbols" || fail "nm shows no symbols of $f"
  if grep -E "RecordingPresenter|saveSnapshot|FakeEngine|journey" <<<"$symbols" >"$scratch/test-code.txt"; then
    fail "$f holds test-only code: $(head -n 3 "$scratch/test-code.txt")"
  fi
done
# The engine is opened at run time, so ldd does not show it: the driver
# binds it from ../lib as the programs do.
env -u LD_LIBRARY_PATH "$unpacked/usr/bin/crv50" lldist 38 77 39 77 >"$scratch/lldist.txt" ||
  fail "the unpacked crv50 could not use the engine"
grep -qx "distance=60" "$scratch/lldist.txt" || fail "crv50 lldist printed: $(cat "$scratch/lldist.txt")"

echo "-- desktop entries"
desktop-file-validate "$unpacked"/usr/share/applications/*.desktop

echo "-- the unpacked CRV_Sci under xvfb"
# A home of its own: no settings variable, no XDG folders set, so the
# program's defaults are what is checked, and nobody's own settings are
# touched.
home="$scratch/home"
mkdir -p "$home"
start() {
  env -i PATH=/usr/bin:/bin HOME="$home" TMPDIR="$scratch" LANG=C.UTF-8 \
    xvfb-run -a -s "-screen 0 1280x1024x24" bash "$root/packaging/start_and_exit.sh" \
    "$unpacked/usr/bin/CRV_Sci" "$scratch/$1.log"
}
settings="$home/.config/QVA/Corvane/5.0.ini"

# First start: nothing there yet. The program makes its work folders and,
# on Exit, its settings file.
start first || fail "first start failed: $(cat "$scratch/first.log")"
[ -f "$settings" ] || fail "no settings file at $settings after the first start"
for d in Data Output User; do
  [ -d "$home/.local/share/Corvane/$d" ] || fail "no default $d folder after the first start"
done
grep -qx "Model Type=SCI" "$settings" || fail "the settings do not name the scientific edition"

# Second start: the settings point at a sample workspace written by the
# unpacked crv_sample, as a user's Location of Files would. The program keeps
# them: every database it names is there.
work="$home/workspace"
"$unpacked/usr/bin/crv_sample" "$work" >/dev/null
"$root/scripts/workspace_paths.sh" "$work" >"$settings"
start second || fail "start on the sample workspace failed: $(cat "$scratch/second.log")"
grep -qx "FCC Database=$work/db/FMALL.dat" "$settings" || fail "the workspace's FM database was dropped"
grep -qx "Data Folder=$work/Data/" "$settings" || fail "the workspace's Data folder was dropped"
echo "package check: $deb passed"
