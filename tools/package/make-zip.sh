#!/usr/bin/env bash
# Packs the portable zip: make-zip.sh <zip> <folder name> <files...>
# Every entry gets the same time stamp and mode, no extra attributes, and a fixed order, so the
# same files always give the same archive.
set -euo pipefail
zip_file=$1 name=$2
shift 2
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/$name"
entries=()
for file in "$@"; do
    base=$(basename "$file")
    cp "$file" "$stage/$name/$base"
    case "$base" in
        *.exe) chmod 755 "$stage/$name/$base" ;;
        *) chmod 644 "$stage/$name/$base" ;;
    esac
    touch -d '2000-01-01 00:00:00 UTC' "$stage/$name/$base"
    entries+=("$name/$base")
done
touch -d '2000-01-01 00:00:00 UTC' "$stage/$name"
rm -f "$zip_file"
(cd "$stage" && TZ=UTC zip -X -q -9 "$zip_file" "${entries[@]}")
