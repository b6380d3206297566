#!/usr/bin/env bash
# Writes the bash completion of a program with commands from its own --help, so that it offers
# what the program takes, whatever its texts become (--styles: a program that prints the style
# names, one a line):
#   completiongen.sh --program PATH --name NAME --styles PROGRAM --out FILE
# Commands are the help's "  name ..." lines (a second word is a subcommand: "report sessions");
# a command's options are the "--option" words of its lines there and of "NAME COMMAND --help"
# when that answers. An option followed by a value takes one: STYLE the style names, a|b|c
# those words, DIR folders, FILE files.
set -euo pipefail

while [ $# -gt 0 ]; do
  case "$1" in
    --program) program=$2; shift 2 ;;
    --name) name=$2; shift 2 ;;
    --styles) styles=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    *) echo "completiongen: unknown argument $1" >&2; exit 2 ;;
  esac
done

help=$("$program" --help)
func="_$(tr -c 'a-zA-Z0-9\n' _ <<<"$name")"

# The lines of the top-level help that tell a command: its entries and their continuations.
entries() { awk -v cmd="$1" '/^  [^ ]/ { on = ($1 == cmd) } /^[^ ]|^ ?$/ { on = 0 } on' <<<"$help"; }
# "--option<TAB>kind" for every option in the text: flag, value, styles, dirs, files, or the
# choices "a b c".
options() {
  awk '{
    line = $0
    while (match(line, /--[a-z0-9][a-z0-9-]*/)) {
      opt = substr(line, RSTART, RLENGTH); line = substr(line, RSTART + RLENGTH)
      kind = "flag"
      if (match(line, /^[ =<]+[^ \[\]-][^ \]]*/)) {
        v = substr(line, 1, RLENGTH); sub(/^[ =<]+/, "", v); sub(/>$/, "", v); sub(/\.\.\.$/, "", v)
        if (v ~ /^[A-Za-z0-9]+(\|[A-Za-z0-9]+)+$/) { kind = v; gsub(/\|/, " ", kind) }
        else if (toupper(v) == "STYLE") kind = "styles"
        else if (v ~ /^(DIR|[Dd]ir|[Dd]irectory)$/) kind = "dirs"
        else if (v ~ /^(FILE|[Ff]ile)$/) kind = "files"
        else kind = "value"
      }
      print opt "\t" kind
    }
  }'
}

commands=$(awk '/^  [a-z][a-z0-9-]*( |$)/ && !seen[$1]++ { print $1 }' <<<"$help" | xargs)
all_options=""
declare -A cmd_opts cmd_subs
for cmd in $commands; do
  text=$(entries "$cmd")
  if own=$("$program" "$cmd" --help 2>/dev/null) && [ -n "$own" ]; then text+=$'\n'"$own"; fi
  opts=$(options <<<"$text")
  all_options+="$opts"$'\n'
  cmd_opts[$cmd]=$(cut -f1 <<<"$opts" | sort -u | xargs)
  cmd_subs[$cmd]=$(entries "$cmd" | awk '/^  [^ ]/ && $2 ~ /^[a-z][a-z0-9-]*$/ && !seen[$2]++ { print $2 }' | xargs)
done
top_options=$(awk '/^  -/ { print $1 }' <<<"$help" | tr -d , | sort -u | xargs)

# "--option) what to offer" for every option that takes a value. One kind per option: a
# particular one wins over "value", which wins over "flag".
value_cases() {
  awk -F '\t' 'NF == 2 {
      rank = ($2 == "flag") ? 0 : ($2 == "value") ? 1 : 2
      if (!($1 in best) || rank > r[$1]) { best[$1] = $2; r[$1] = rank }
    }
    END { for (o in best) print o "\t" best[o] }' <<<"$all_options" | sort |
  while IFS=$'\t' read -r opt kind; do
    case "$kind" in
      flag) ;;
      value) echo "        $opt) return ;;" ;;
      styles) echo "        $opt) ${func}_reply_styles; return ;;" ;;
      dirs) echo "        $opt) COMPREPLY=(\$(compgen -d -- \"\$cur\")); return ;;" ;;
      files) echo "        $opt) COMPREPLY=(\$(compgen -f -- \"\$cur\")); return ;;" ;;
      *) echo "        $opt) COMPREPLY=(\$(compgen -W \"$kind\" -- \"\$cur\")); return ;;" ;;
    esac
  done
}
command_cases() {
  for cmd in $commands; do
    echo "        $cmd)"
    [ -z "${cmd_subs[$cmd]}" ] ||
      echo "            if [ \"\$COMP_CWORD\" -eq 2 ]; then COMPREPLY=(\$(compgen -W \"${cmd_subs[$cmd]}\" -- \"\$cur\")); return; fi"
    echo "            opts=\"${cmd_opts[$cmd]} --help\" ;;"
  done
}

{
  echo "# bash completion for $name, written from its --help by tools/docgen/completiongen.sh."
  printf '%s_styles=(' "$func"
  while IFS= read -r s; do printf ' %q' "$s"; done < <("$styles")
  echo ' )'
  cat <<END

# Style names with blanks and "!" are offered quoted, as the shell needs them.
${func}_reply_styles()
{
    local IFS=\$'\\n' s
    COMPREPLY=()
    for s in \$(compgen -W "\${${func}_styles[*]}" -- "\$cur"); do COMPREPLY+=("\$(printf %q "\$s")"); done
}

${func}()
{
    local cur=\${COMP_WORDS[COMP_CWORD]} prev=\${COMP_WORDS[COMP_CWORD-1]} cmd=\${COMP_WORDS[1]:-} opts=""
    case \$prev in
$(value_cases)
    esac
    if [ "\$COMP_CWORD" -eq 1 ]; then
        COMPREPLY=(\$(compgen -W "$commands $top_options" -- "\$cur"))
        return
    fi
    case \$cmd in
$(command_cases)
    esac
    if [[ \$cur == -* ]]; then
        COMPREPLY=(\$(compgen -W "\$opts" -- "\$cur"))
    else
        compopt -o filenames 2>/dev/null
        COMPREPLY=(\$(compgen -f -- "\$cur"))
    fi
}
complete -F ${func} $name
END
} >"$out.tmp"
mv "$out.tmp" "$out"
