#!/usr/bin/env bash
# The documentation says what the build does: the README stays short and every relative link
# in it and in docs/ leads somewhere; the programs, manual pages and installed folders it names
# are the ones `cmake --install` lays out; the options the guide and the manual pages list are
# the ones each program's --help prints; the statistics example is what a default run writes.
# Usage: documentation.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build="$1"
src="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# Prints the lines between a heading and the next heading of the same or a higher level.
section() {  # FILE HEADING
  awk -v h="$2" '
    index($0, h) == 1 && $0 == h { on = 1; level = index($0, " "); next }
    on && /^#+ / && index($0, " ") <= level && !fence { exit }
    /^```/ { fence = !fence }
    on { print }' "$1"
}
# The long options named in a text, one a line, sorted, each once.
options_in() { grep -oE -- '(^|[^a-z-])--[a-z][a-z-]*' | grep -oE -- '--[a-z-]+' | sort -u; }
# The synopsis and the options of a manual page, as text.
man_options() { sed 's/\\-/-/g' "$1" | awk '/^\.SH/ { on = $2 == "SYNOPSIS" || $2 == "OPTIONS" } on'; }
same_list() {  # WHAT LIST_A LIST_B
  [ "$2" = "$3" ] || fail "$1 differ:$(diff <(echo "$2") <(echo "$3") | grep '^[<>]' | tr '\n' ' ')"
}

lines="$(wc -l <"$src/README.md")"
[ "$lines" -le 200 ] || fail "README.md has $lines lines, more than 200"

# Every relative link, and the heading an anchor names, exists. Anchors are the headings'
# words in lower case, joined by hyphens, without punctuation, as the code hosts make them.
slugs() { grep -E '^#+ ' "$1" | sed -E 's/^#+ //' | tr '[:upper:]' '[:lower:]' |
  sed -E 's/[^a-z0-9 _-]//g; s/ /-/g'; }
for doc in "$src/README.md" "$src"/docs/*.md; do
  while read -r link; do
    target="${link%%#*}"
    anchor=""
    [[ "$link" == *"#"* ]] && anchor="${link#*#}"
    file="$doc"
    [ -n "$target" ] && file="$(dirname "$doc")/$target"
    if [ ! -e "$file" ]; then
      fail "${doc#"$src"/}: the link $link leads nowhere"
    elif [ -n "$anchor" ] && ! slugs "$file" | grep -qxF "$anchor"; then
      fail "${doc#"$src"/}: no heading for the anchor in $link"
    fi
  done < <(grep -oE '\]\([^) ]+\)' "$doc" | sed -E 's/^\]\((.*)\)$/\1/' | grep -vE '^[a-z]+:')
done

# What the build installs, against the README's table of programs and its installed tree.
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log" >&2; fail "cmake --install failed"; exit 1; }
programs="$(section "$src/README.md" "## The programs" | grep -oE '^\| `[a-z-]+`' | tr -d '|` ' | sort)"
program_dirs=()
for dir in bin games; do [ -d "$prefix/$dir" ] && program_dirs+=("$prefix/$dir"); done
installed="$(find "${program_dirs[@]}" -type f -perm -u+x -printf '%f\n' | sort)"
same_list "the README's programs and the installed ones" "$programs" "$installed"
pages="$(cd "$prefix/share/man/man6" && ls | sed 's/\.6\.gz$//' | sort)"
same_list "the programs and their manual pages" "$installed" "$pages"
tree="$(section "$src/README.md" "## Install" | grep -E '^\| `[^`]+/` \|')"
[ -n "$tree" ] || fail "the README has no table of the installed tree"
while IFS='|' read -r _ folder what _; do
  folder="$(echo "$folder" | tr -d '` ')"
  [ -d "$prefix/$folder" ] || fail "the README names $folder, which is not installed"
  named="$(echo "$what" | grep -oE '`[^` ]+`' | tr -d '`' | grep -E '\.|/$' | sort -u)" || true
  for name in $named; do
    [ -e "$prefix/$folder/$name" ] || fail "the README names $folder$name, which is not installed"
  done
  # Where the table lists programs or pages, it lists all of them.
  case "$folder" in
  bin/ | games/ | share/man/man6/)
    same_list "the README's $folder and the installed one" \
      "$(echo "$what" | grep -oE '`[^` ]+`' | tr -d '`' | sort)" "$(ls "$prefix/$folder" | sort)"
    ;;
  esac
done <<<"$tree"

# Each program answers --help and -h alike with its usage on standard output, and --version
# with its name and version, without a display; a help it cannot write is an error.
version="$(sed -nE 's/^project\(lumora VERSION ([0-9.]+).*/\1/p' "$src/CMakeLists.txt")"
man="$build/packaging/man"
for program in $installed; do
  exe="$(find "${program_dirs[@]}" -type f -name "$program")"
  help="$(env -u DISPLAY "$exe" --help 2>"$work/err")" || fail "$program --help: $(cat "$work/err")"
  [[ "$help" == "usage: $program "* ]] || fail "$program --help does not start with its usage"
  [ "$(env -u DISPLAY "$exe" -h 2>&1)" = "$help" ] || fail "$program -h is not its --help"
  [ "$(env -u DISPLAY "$exe" --version 2>&1)" = "$program $version" ] ||
    fail "$program --version does not print '$program $version'"
  ! env -u DISPLAY "$exe" --help >/dev/full 2>/dev/null || fail "$program --help >/dev/full succeeded"
  page="$man/$program.6"
  same_list "the options of $program's --help and its manual page" \
    "$(echo "$help" | options_in)" "$(man_options "$page" | options_in)"
  # The page reads on its own, and every option with a value heads a paragraph of its own.
  if command -v man >/dev/null; then
    man -l "$page" >/dev/null 2>"$work/man" && [ ! -s "$work/man" ] ||
      fail "man -l $program.6: $(cat "$work/man")"
  fi
  run_on="$(awk '/^\.SH/ { on = $2 == "OPTIONS" } on && /^\.BI .*"$/ && prev != ".TP" { print } { prev = $0 }' "$page")"
  [ -z "$run_on" ] || fail "$program.6: no paragraph of its own for $run_on"
done

# The guide's synopsis of each runner, and the sweep runner's table, list what --help does.
sim_doc="$(section "$src/docs/experiments.md" "## The headless runner" | awk '/^```/{n++; next} n==1')"
same_list "the options of lumora-sim --help and the guide's synopsis" \
  "$("$prefix/bin/lumora-sim" --help | options_in)" "$(echo "$sim_doc" | options_in)"
sweep_doc="$(section "$src/docs/experiments.md" "## Sweeps" | awk '/^```/{n++; next} n==1')"
sweep_table="$(section "$src/docs/experiments.md" "### Options and output" | grep -E '^\| `-')"
sweep_help="$("$prefix/bin/lumora-sweep" --help | options_in)"
same_list "the options of lumora-sweep --help and the guide's synopsis" \
  "$sweep_help" "$(echo "$sweep_doc" | options_in)"
same_list "the options of lumora-sweep --help and the guide's table" \
  "$sweep_help" "$(echo "$sweep_table" | cut -d'|' -f2 | options_in)"

# The statistics example: the first rows of a run on the default settings.
example="$(section "$src/docs/experiments.md" "### Statistics" | awk '/^```/{n++; next} n==1')"
mkdir "$work/run"
cp "$prefix/share/lumora/lmr.sav" "$work/run/"
(cd "$work/run" && "$prefix/bin/lumora-sim" --frames 1 --stats stats.csv >/dev/null)
[ "$example" = "$(head -n "$(echo "$example" | wc -l)" "$work/run/stats.csv")" ] ||
  fail "the statistics example is not what a default run writes: $(head -n2 "$work/run/stats.csv")"

[ "$failures" = 0 ] || exit 1
echo PASS
