#!/bin/sh
# Checks of a generated manual page.
#   manpage_check.sh options PAGE PROGRAM
#     every option that "PROGRAM --help" lists is the tag of an entry of PAGE
#     (the line after a .TP, where each hyphen is written \-).
#   manpage_check.sh render PAGE
#     PAGE renders with no warning and its NAME line gives a whatis entry;
#     exits 77 (skipped) when groff is not installed.
set -u
page=$2
case $1 in
options)
  help=$("$3" --help) || { echo "$3 --help failed"; exit 1; }
  # Option tokens stand after a blank, "[", "(", "|" or "," in the help; "2^-1" and "1e-10" are no options.
  options=$(printf '%s\n' "$help" | grep -oE '(^|[][ ,(|])--?[a-z][a-z-]*' | grep -oE -- '--?[a-z][a-z-]*' | sort -u)
  [ -n "$options" ] || { echo "no options found in the help of $3"; exit 1; }
  tags=$(sed -n '/^\.TP/{n;p;}' "$page" | sed 's/\\-/-/g; s/\\f[BIRP]//g')
  status=0
  for option in $options; do
    printf '%s\n' "$tags" | grep -qE -- "(^|[^a-z-])$option([^a-z-]|\$)" || { echo "$page: no entry for $option"; status=1; }
  done
  exit $status
  ;;
render)
  command -v groff >/dev/null || { echo "groff is not installed"; exit 77; }
  warnings=$(groff -man -Tutf8 -ww -z "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { printf '%s\n' "$warnings"; exit 1; }
  if command -v lexgrog >/dev/null; then lexgrog "$page" || exit 1; fi
  ;;
*)
  echo "usage: manpage_check.sh options PAGE PROGRAM | render PAGE"
  exit 2
  ;;
esac
