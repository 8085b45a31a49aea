#!/usr/bin/env bash
# validate_test.sh WORK: Debian's and the desktop's own checkers on the package
# that deb_test.sh made and unpacked in WORK: lintian (no error, no warning),
# appstreamcli on the metadata, desktop-file-validate on the desktop entry, and
# man on each manual page in both languages (no warning from the formatter).
set -euo pipefail
work=$1 root=$1/root
fail() { echo "FAIL: $*" >&2; exit 1; }
deb=$(ls "$work"/pkg/kalvoro_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "no package in $work/pkg"

# As root lintian only adds a line on standard error saying it would rather
# not run so; its findings are the same. Tags are "E: ", "W: ", "I: " ... at
# the start of a line; the informational ones are shown, not counted.
rc=0
lintian --info --fail-on error,warning "$deb" >"$work/lintian.txt" 2>"$work/lintian.err" || rc=$?
cat "$work/lintian.txt" "$work/lintian.err"
if [ $rc -ne 0 ] || grep -q '^[EW]: ' "$work/lintian.txt"; then fail "lintian: status $rc"; fi

id=example.kalvoro.kalvoro
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" || fail "appstreamcli"
desktop-file-validate "$root/usr/share/applications/$id.desktop" || fail "desktop-file-validate"
grep -q "<binary>kalvoro-batch</binary>" "$root/usr/share/metainfo/$id.metainfo.xml" || fail "no binaries in the metadata"
grep -q "<release version=\"$(dpkg-deb -f "$deb" Version)\"" "$root/usr/share/metainfo/$id.metainfo.xml" \
  || fail "the metadata's release is not the package's version"

for page in usr/share/man/man1/kalvoro.1.gz usr/share/man/man1/kalvoro-batch.1.gz \
            usr/share/man/pt_BR/man1/kalvoro.1.gz usr/share/man/pt_BR/man1/kalvoro-batch.1.gz; do
  [ -f "$root/$page" ] || fail "$page is not in the package"
  text=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$root/$page" 2>"$work/man.err") || fail "man -l $page"
  [ -s "$work/man.err" ] && { cat "$work/man.err"; fail "man warns about $page"; }
  grep -q 'kalvoro' <<<"$text" || fail "$page renders empty"
done
zcat "$root/usr/share/doc/kalvoro/changelog.gz" | head -n 1 | grep -q "^kalvoro ($(dpkg-deb -f "$deb" Version))" \
  || fail "the changelog's newest entry is not the package's version"
echo "ok: lintian, appstreamcli, desktop-file-validate and man agree"
