#!/usr/bin/env bash
# man_options_test.sh MANDIR PROGRAM...: the options each program's --help
# prints are those its manual pages document, in every language: an option
# missing from a page, or a page naming an option that does not exist, fails.
# Options in --help are the lines "  --name"; in a page, the ".B \-\-name" and
# ".BI \-\-name" lines document them and every "\-\-name" must be a real one.
set -euo pipefail
mandir=$1; shift
status=0
for program in "$@"; do
  [ -n "$program" ] || continue
  name=$(basename "$program")
  helped=$("$program" --help | sed -n 's/^  \(--[a-z][a-z-]*\).*/\1/p' | sort -u)
  [ -n "$helped" ] || { echo "FAIL: $name --help lists no option"; exit 1; }
  for page in "$mandir"/*/"$name.1"; do
    documented=$(sed -n 's/^\.BI\{0,1\} \\-\\-\([a-z][a-z\\-]*\).*/--\1/p' "$page" | sed 's/\\-/-/g' | sort -u)
    mentioned=$(grep -o '\\-\\-[a-z][a-z\\-]*' "$page" | sed 's/\\-/-/g' | sort -u)
    missing=$(comm -23 <(echo "$helped") <(echo "$documented"))
    unknown=$(comm -13 <(echo "$helped") <(echo "$mentioned"))
    if [ -n "$missing" ]; then echo "FAIL: $page does not document:" $missing; status=1; fi
    if [ -n "$unknown" ]; then echo "FAIL: $page names options that $name lacks:" $unknown; status=1; fi
  done
done
[ $status -eq 0 ] && echo "ok: the manual pages document exactly the options of --help"
exit $status
