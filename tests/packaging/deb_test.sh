#!/usr/bin/env bash
# deb_test.sh BUILD_DIR EXAMPLES WORK: makes the .deb, unpacks it with dpkg -x and
# runs the unpacked kalvoro-batch on a copy of an example.
set -euo pipefail
build=$1 examples=$2 work=$3
rm -rf "$work"; mkdir -p "$work/root" "$work/run"
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/pkg" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/pkg/kalvoro_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "no kalvoro_*.deb made"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
case "$depends" in *libc6*) ;; *) fail "the package declares no library dependencies" ;; esac
case "$depends" in *fonts-liberation*) ;; *) fail "the package does not depend on fonts-liberation" ;; esac
case "$depends" in *qt6-translations-l10n*) ;; *) fail "the package does not depend on qt6-translations-l10n" ;; esac
[ "$(dpkg-deb -f "$deb" Version)" = "$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")" ] \
  || fail "the package's version is not the project's"

dpkg -x "$deb" "$work/root"
for f in usr/bin/kalvoro-batch usr/share/applications/example.kalvoro.kalvoro.desktop \
         usr/share/mime/packages/kalvoro.xml usr/share/icons/hicolor/scalable/apps/kalvoro.svg; do
  [ -e "$work/root/$f" ] || fail "$f is not in the package"
done
if [ -e "$build/app/gui/kalvoro" ]; then
  [ -x "$work/root/usr/bin/kalvoro" ] || fail "usr/bin/kalvoro is not in the package"
  case "$depends" in *libqt6widgets6*) ;; *) fail "the package does not depend on Qt 6 Widgets" ;; esac
fi
grep -q '^MimeType=application/x-kalvoro-vig;' "$work/root/usr/share/applications/example.kalvoro.kalvoro.desktop" \
  || fail "the desktop file does not claim .vig files"
grep -q '<mime-type type="application/x-kalvoro-vig">' "$work/root/usr/share/mime/packages/kalvoro.xml" \
  && grep -q '<glob pattern="\*.vig"/>' "$work/root/usr/share/mime/packages/kalvoro.xml" \
  || fail "the MIME type does not cover .vig files"
grep -q '<glob pattern="\*.vigx"/>' "$work/root/usr/share/mime/packages/kalvoro.xml" \
  && grep -q '^MimeType=.*application/x-kalvoro-vigx;' "$work/root/usr/share/applications/example.kalvoro.kalvoro.desktop" \
  || fail "the MIME type and the desktop file do not cover .vigx files"

cp "$examples/dois-trechos.vig" "$work/run/"
"$work/root/usr/bin/kalvoro-batch" "$work/run/dois-trechos.vig" >"$work/run/out.txt" \
  || fail "the unpacked kalvoro-batch failed"
[ -s "$work/run/dois-trechos.sai" ] || fail "no report written"
version=$("$work/root/usr/bin/kalvoro-batch" --version) || fail "kalvoro-batch --version failed"
[ "$version" = "kalvoro-batch $(dpkg-deb -f "$deb" Version)" ] || fail "kalvoro-batch --version says: $version"
grep -q 'Deslocamentos' "$work/run/out.txt" || fail "no report printed"
echo "ok: $(basename "$deb")"
