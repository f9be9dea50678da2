#!/usr/bin/env bash
# The wall between logic and widgets: outside the ui/ folders no source under src/
# includes a header of Qt Widgets or Qt Print Support, or names QWidget, QDialog or
# QMessageBox. Run by CTest (test "wall"); prints every breach and fails on any.
#   check_wall.sh SRC_DIR QT_INCLUDE_DIR...
set -u
src=$1; shift
forbidden=()
for d in "$@"; do
  case "$d" in */QtWidgets|*/QtPrintSupport) forbidden+=("$d") ;; esac
done
if [ ${#forbidden[@]} -eq 0 ]; then echo "no Qt Widgets include folder given" >&2; exit 2; fi
breaches=0
while IFS= read -r -d '' f; do
  rel=${f#"$src"/}
  case "/$rel" in */ui/*) continue ;; esac
  while IFS= read -r header; do
    bad=""
    case "$header" in QtWidgets/*|QtPrintSupport/*) bad=1 ;; esac
    for d in "${forbidden[@]}"; do [ -e "$d/$header" ] && bad=1; done
    if [ -n "$bad" ]; then echo "$rel: includes <$header>"; breaches=$((breaches + 1)); fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*<\([^>]*\)>.*/\1/p' "$f")
  named=$(sed 's://.*$::' "$f" | grep -n -w -E 'QWidget|QDialog|QMessageBox' | head -n 3)
  if [ -n "$named" ]; then
    while IFS= read -r line; do echo "$rel:${line%%:*}: names a widget class"; done <<<"$named"
    breaches=$((breaches + 1))
  fi
done < <(find "$src" -type f \( -name '*.cpp' -o -name '*.h' \) -print0)
if [ "$breaches" -gt 0 ]; then
  echo "$breaches breach(es) of the wall: widgets belong in a ui/ folder"
  exit 1
fi
echo "the wall holds: no widgets outside the ui/ folders"
