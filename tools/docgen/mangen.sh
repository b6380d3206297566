#!/usr/bin/env bash
# Writes a program's manual page from its own --help, so that the page says what the program
# says, whatever its texts become:
#   mangen.sh --program PATH --name NAME --source "Tarvex 1.2" --date YYYY-MM-DD
#             --sections FILE [--commands] [--styles PROGRAM] --out FILE
# The usage line becomes SYNOPSIS; text before the first heading joins DESCRIPTION; each
# "Heading:" of the help becomes a section with its lines as written. --commands: the help
# lists commands ("  name ..."); each command whose "NAME COMMAND --help" answers gets its own
# subsection with that text (a command that does not answer yet is told by the summary
# above). The sections file holds what no help says, as roff under "[SECTION]" lines: NAME and
# DESCRIPTION first, the rest after the help in file order. --styles: a program that prints
# the style names, one a line in style-number order, listed in the STYLES section.
set -euo pipefail

commands=0
styles=""
while [ $# -gt 0 ]; do
  case "$1" in
    --program) program=$2; shift 2 ;;
    --name) name=$2; shift 2 ;;
    --source) source=$2; shift 2 ;;
    --date) date=$2; shift 2 ;;
    --sections) sections=$2; shift 2 ;;
    --styles) styles=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    --commands) commands=1; shift ;;
    *) echo "mangen: unknown argument $1" >&2; exit 2 ;;
  esac
done

# roff for help text: headings, paragraphs, and indented lines kept as they are.
render_awk='
function esc(s) {
  gsub(/\\/, "\\e", s); gsub(/-/, "\\-", s)
  if (s ~ /^[.\047]/) s = "\\&" s
  return s
}
function endblock() { if (inblock) print ".fi"; inblock = 0 }
BEGIN { inusage = 0; seenheading = 0 }
/^[Uu]sage:/ {
  endblock(); inusage = 1
  line = $0; sub(/^[Uu]sage: */, "", line)
  if (part == "synopsis") print esc(line)
  else if (part == "command") { print ".nf"; print esc($0); inblock = 1 }
  next
}
inusage && /^[ \t]/ {
  if (part == "synopsis") print esc($0)
  else if (part == "command") print esc($0)
  next
}
{ inusage = 0 }
part == "synopsis" { next }
/^[ \t]*$/ { endblock(); gap = 1; next }
/^[^ \t].*:$/ && length($0) < 48 {
  endblock(); seenheading = 1; h = $0; sub(/:$/, "", h)
  if (part == "body") print ".SH " toupper(esc(h))
  else if (part == "command") { print ".PP"; print "\\fB" esc(h) "\\fR" }
  gap = 0; next
}
part == "intro" && seenheading { next }
part == "body" && !seenheading { next }
/^[ \t]/ {
  if (!inblock) { if (gap) print ".PP"; print ".nf"; inblock = 1 }
  print esc($0); gap = 0; next
}
{ endblock(); if (gap) print ".PP"; print esc($0); gap = 0 }
END { endblock() }
'
render() { awk -v part="$1" "$render_awk"; }
section() { awk -v want="[$1]" '/^\[[A-Z][A-Z ]*\]$/ { on = ($0 == want); next } on' "$sections"; }

help=$("$program" --help)
# The program names itself as it was started; the page names it as it is installed.
help=${help//"$program"/$name}
upper=$(tr '[:lower:]-' '[:upper:]-' <<<"$name")

{
  printf '.TH "%s" "1" "%s" "%s" "User Commands"\n' "$upper" "$date" "$source"
  echo '.SH NAME'
  section NAME
  echo '.SH SYNOPSIS'
  echo '.nf'
  render synopsis <<<"$help"
  echo '.fi'
  echo '.SH DESCRIPTION'
  section DESCRIPTION
  intro=$(render intro <<<"$help")
  [ -z "$intro" ] || printf '.PP\n%s\n' "$intro"
  render body <<<"$help"
  if [ "$commands" = 1 ]; then
    details=""
    while read -r cmd; do
      if own=$("$program" "$cmd" --help 2>/dev/null) && [ -n "$own" ]; then
        own=${own//"$program"/$name}
        details+=".SS $cmd"$'\n'"$(render command <<<"$own")"$'\n'
      fi
    done < <(awk '/^  [a-z][a-z0-9-]*( |$)/ && !seen[$1]++ { print $1 }' <<<"$help")
    [ -z "$details" ] || printf '.SH "COMMANDS IN DETAIL"\n%s' "$details"
  fi
  for s in $(sed -n 's/^\[\([A-Z][A-Z ]*\)\]$/\1/p' "$sections" | tr ' ' '_'); do
    s=${s//_/ }
    case "$s" in NAME|DESCRIPTION) continue ;; esac
    printf '.SH "%s"\n' "$s"
    section "$s"
    if [ "$s" = STYLES ] && [ -n "$styles" ]; then
      echo '.PD 0'
      awk '{ n = $0; gsub(/\\/, "\\e", n); gsub(/-/, "\\-", n); printf ".TP\n\\fB%d\\fR\n%s\n", NR - 1, n }' < <("$styles")
      echo '.PD'
    fi
  done
} >"$out.tmp"
mv "$out.tmp" "$out"
