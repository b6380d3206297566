#!/usr/bin/env bash
# Keeps the sources a stack: each folder may include only the folders below it.
# The core (src/core):
#   base, host       nothing of ours
#   platform         base
#   mailercfg        base, platform
#   log              base, host, platform, mailercfg
#   parsers, report, tmail   log and below
#   styles           parsers and below (the one place that knows every style)
# The GUI (src/gui), every folder on top of the whole core:
#   viewer           nothing of the GUI
#   common           viewer
#   views, setup, tmail      common, viewer
#   app              everything (the one place that knows every window)
# Neither the core nor the command line (src/cli) includes anything of the GUI.
# An include names a GUI header when src/gui holds that path (the GUI's tmail/ and the core's
# tmail/ share a name, not files).
# Usage: tools/check-includes.sh [SRC_DIR]   (default: src beside this script)
# Prints every include that runs the wrong way and exits 1 when there is one.
set -euo pipefail
src="${1:-$(dirname "$0")/../src}"
core="$src/core"
gui="$src/gui"
cli="$src/cli"

core_allowed() {
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

gui_allowed() {
  case "$1" in
    viewer) echo "viewer" ;;
    common) echo "viewer common" ;;
    views|setup|tmail) echo "viewer common $1" ;;
    app) echo "viewer common views setup tmail app" ;;
    *) return 1 ;;
  esac
}

includes() { sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$1"; }
is_gui() { [ -f "$gui/$1" ]; }

bad=0
while IFS= read -r -d '' file; do
  rel="${file#"$core"/}"
  folder="${rel%%/*}"
  [ "$folder" = "$rel" ] && folder=base   # files at the top (version.h) stand with base
  if ! ok=$(core_allowed "$folder"); then
    echo "core/$rel: folder '$folder' has no place in the include rule (tools/check-includes.sh)"
    bad=1
    continue
  fi
  while IFS= read -r inc; do
    if is_gui "$inc"; then
      echo "core/$rel: includes \"$inc\" of the GUI"
      bad=1
      continue
    fi
    target="${inc%%/*}"
    [ "$target" = "$inc" ] && continue            # a top-level header such as version.h
    case " $ok " in *" $target "*) ;; *)
      echo "core/$rel: includes \"$inc\" ($folder may use: $ok)"
      bad=1 ;;
    esac
  done < <(includes "$file")
done < <(find "$core" -type f \( -name '*.h' -o -name '*.cpp' \) -print0)

if [ -d "$gui" ]; then
  while IFS= read -r -d '' file; do
    rel="${file#"$gui"/}"
    folder="${rel%%/*}"
    if ! ok=$(gui_allowed "$folder"); then
      echo "gui/$rel: folder '$folder' has no place in the include rule (tools/check-includes.sh)"
      bad=1
      continue
    fi
    while IFS= read -r inc; do
      is_gui "$inc" || continue                   # the core's, which every GUI folder may use
      target="${inc%%/*}"
      case " $ok " in *" $target "*) ;; *)
        echo "gui/$rel: includes \"$inc\" ($folder may use of the GUI: $ok)"
        bad=1 ;;
      esac
    done < <(includes "$file")
  done < <(find "$gui" -type f \( -name '*.h' -o -name '*.cpp' \) -print0)
fi

if [ -d "$cli" ]; then
  while IFS= read -r -d '' file; do
    while IFS= read -r inc; do
      if is_gui "$inc"; then
        echo "cli/${file#"$cli"/}: includes \"$inc\" of the GUI"
        bad=1
      fi
    done < <(includes "$file")
  done < <(find "$cli" -type f \( -name '*.h' -o -name '*.cpp' \) -print0)
fi

[ "$bad" -eq 0 ] && echo "include rule: ok"
exit "$bad"
