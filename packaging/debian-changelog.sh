#!/usr/bin/env bash
# Writes the Debian package's changelog from NEWS.md: a stanza for every version that has a
# release date, newest first, each of its items a "*" line wrapped within 80 columns. Changes
# not yet in a version ("Unreleased") are left out.
# Usage: debian-changelog.sh NEWS.md "NAME <ADDRESS>" OUT
set -euo pipefail
news="$1"
maintainer="$2"
out="$3"
tmp="$out.tmp"
awk -v maintainer="$maintainer" '
  # Prints an item joined from its lines, wrapped after at most 76 characters of text.
  function item(text,   n, words, i, line) {
    n = split(text, words, " ")
    line = "  *"
    for (i = 1; i <= n; i++) {
      if (length(line) + 1 + length(words[i]) > 80 && line != "  *" && line != "   ") {
        print line
        line = "   "
      }
      line = line " " words[i]
    }
    print line
  }
  function finish_item() { if (text != "") item(text); text = "" }
  function finish_version() {
    finish_item()
    if (version == "") return
    command = "date -u -R -d \"" date " 12:00\""
    command | getline stamp
    close(command)
    printf "\n -- %s  %s\n", maintainer, stamp
    version = ""
  }
  /^## / {
    finish_version()
    if (match($0, /^## [0-9][0-9.]* \([0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]\)$/)) {
      version = $2; date = substr($3, 2, 10)
      if (stanzas++) print ""
      printf "lumora (%s) unstable; urgency=medium\n\n", version
    }
    next
  }
  version == "" { next }
  /^- / { finish_item(); text = substr($0, 3); next }
  /^  +[^ ]/ && text != "" { sub(/^ +/, ""); text = text " " $0; next }
  END { finish_version(); if (!stanzas) exit 1 }
' "$news" >"$tmp" || { rm -f "$tmp"; echo "debian-changelog.sh: no version with a date in $news" >&2; exit 1; }
mv "$tmp" "$out"
