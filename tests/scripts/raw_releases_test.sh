#!/usr/bin/env bash
# The raw-release check on a planted tree: a release outside platform/ fails it, the same line inside platform/ or
# behind a comment marker does not, and the real tree passes.
set -u
CHECK=$1
REPO=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0
mkdir -p "$tmp/skin" "$tmp/platform" "$tmp/build"
echo 'void f(HDC h) { ::DeleteDC(h); }' > "$tmp/platform/Ok.h"
echo 'void g(HANDLE h) { CloseHandle (h); }' > "$tmp/build/Generated.cpp"
echo 'int x; // never DeleteObject(brush) here' > "$tmp/skin/Comment.cpp"
if ! bash "$CHECK" "$tmp" > /dev/null; then echo "FAIL: a clean tree was refused"; fail=1; fi
for name in DeleteObject DeleteDC ReleaseDC EndPaint CloseHandle DestroyMenu DestroyIcon ImageList_Destroy; do
  echo "void h() { ::$name (x); }" > "$tmp/skin/Planted.cpp"
  if out=$(bash "$CHECK" "$tmp"); then
    echo "FAIL: a planted $name passed"; fail=1
  elif ! grep -q 'skin/Planted.cpp:1:' <<<"$out"; then
    echo "FAIL: the report does not name the planted line: $out"; fail=1
  fi
done
rm "$tmp/skin/Planted.cpp"
if ! bash "$CHECK" "$REPO"; then echo "FAIL: the repository has raw releases"; fail=1; fi
[ $fail = 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $fail
