#!/usr/bin/env bash
# Keeps the core's folders a stack: each folder may include only the folders below it.
#   base, host       nothing of ours
#   platform         base
#   mailercfg        base, platform
#   log              base, host, platform, mailercfg
#   parsers, report, tmail   log and below
#   styles           parsers and below (the one place that knows every style)
# Usage: tools/check-includes.sh [CORE_DIR]   (default: src/core beside this script)
# Prints every include that runs the wrong way and exits 1 when there is one.
set -euo pipefail
core="${1:-$(dirname "$0")/../src/core}"

allowed() {
  case "$1" in
    base) echo "base" ;;
    host) echo "host" ;;
    platform) echo "base platform" ;;
    mailercfg) echo "base platform mailercfg" ;;
    log) echo "base host platform mailercfg log" ;;
    parsers|report|tmail) echo "base host platform mailercfg log $1" ;;
    styles) echo "base host platform mailercfg log parsers styles" ;;
    *) return 1 ;;
  esac
}

bad=0
while IFS= read -r -d '' file; do
  rel="${file#"$core"/}"
  folder="${rel%%/*}"
  [ "$folder" = "$rel" ] && folder=base   # files at the top (version.h) stand with base
  if ! ok=$(allowed "$folder"); then
    echo "$rel: folder '$folder' has no place in the include rule (tools/check-includes.sh)"
    bad=1
    continue
  fi
  while IFS= read -r inc; do
    target="${inc%%/*}"
    [ "$target" = "$inc" ] && continue            # a top-level header such as version.h
    case " $ok " in *" $target "*) ;; *)
      echo "$rel: includes \"$inc\" ($folder may use: $ok)"
      bad=1 ;;
    esac
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find "$core" -type f \( -name '*.h' -o -name '*.cpp' \) -print0)

[ "$bad" -eq 0 ] && echo "include rule: ok"
exit "$bad"
