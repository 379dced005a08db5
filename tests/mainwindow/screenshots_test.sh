#!/usr/bin/env bash
# Runs the screenshot script and checks one distinct picture of the window per page.
set -euo pipefail
script=$1 build=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
TARMEL_BUILD=$build bash "$script" "$out"
count=0 sums=()
for page in 1 2 3 4 5 6 7 8 9; do
  file=$out/page-0$page.png
  [[ -s $file ]] || { echo "missing $file" >&2; exit 1; }
  size=$(identify -format '%wx%h' "$file")
  [[ $size == 825x596 ]] || { echo "$file is $size, not the window's 825x596" >&2; exit 1; }
  sums+=("$(convert "$file" rgb:- | md5sum | cut -d' ' -f1)")
  count=$((count + 1))
done
distinct=$(printf '%s\n' "${sums[@]}" | sort -u | wc -l)
[[ $distinct -eq 9 ]] || { echo "only $distinct distinct pages: the tabs did not change" >&2; exit 1; }
echo "screenshots: $count pages, all different"
