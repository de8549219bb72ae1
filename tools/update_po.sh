#!/usr/bin/env bash
# update_po.sh: gathers every sentence a player reads into the translation
# template po/quillory.pot, then brings each language's catalogue
# po/<language>.po up to date with it (msgmerge keeps the translations and
# marks those whose sentence changed as fuzzy). The sentences come from:
#   - the screens' SVG sources in assets/src/, by itstool with po/screens.its;
#   - the desktop entry's Comment, GenericName and Keywords, and the AppStream
#     metainfo's summary and description, by xgettext;
#   - the web page's SAY table at the top of app/web/index.html's script, by
#     xgettext, which reads the table's strings as JavaScript.
#
# Usage: tools/update_po.sh           update po/quillory.pot and po/*.po
#        tools/update_po.sh --check   change nothing; fail when a language of
#                                     po/LINGUAS lacks an up-to-date translation
#                                     of a sentence the sources hold now
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

check=0
case "${1:-}" in
  "") ;;
  --check) check=1 ;;
  *) echo "usage: tools/update_po.sh [--check]" >&2; exit 2 ;;
esac

POT=po/quillory.pot
APP_ID=io.github.quillory.Quillory
METAINFO_ITS=/usr/share/gettext/its/metainfo.its
# The web page's table of sentences: from its opening line to the first line
# that closes it.
SAY_START='const SAY = {'
SAY_END='^ *};'

[ "$check" -eq 1 ] || quillory_install gettext itstool appstream
languages=$(sed 's/#.*//' po/LINGUAS)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

version=$(sed -n 's/^project(Quillory VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
xgettext_header=(--package-name=quillory --package-version="$version"
                 --copyright-holder="The Quillory developers"
                 --msgid-bugs-address=https://quillory.github.io/ --from-code=UTF-8)

# The desktop entry first: its header, naming the package, heads the template.
xgettext "${xgettext_header[@]}" --language=Desktop -k -kComment -kGenericName -kKeywords \
  -o "$work/desktop.pot" "packaging/$APP_ID.desktop"
xgettext "${xgettext_header[@]}" --its="$METAINFO_ITS" \
  -o "$work/metainfo.pot" "packaging/$APP_ID.metainfo.xml.in"
# The page with every line but the table's blanked, so that xgettext takes
# all its strings (and nothing else) and the references keep their lines.
mkdir -p "$work/page/app/web"
awk -v start="$SAY_START" -v end="$SAY_END" \
  'index($0, start) { inside = 1 } { print inside ? $0 : "" } inside && $0 ~ end { inside = 0 }' \
  app/web/index.html >"$work/page/app/web/index.html"
(cd "$work/page" && xgettext "${xgettext_header[@]}" --language=JavaScript --extract-all \
  -o "$work/page.pot" app/web/index.html)
itstool -i po/screens.its -o "$work/screens.pot" assets/src/*.svg
msgcat --use-first "$work/desktop.pot" "$work/screens.pot" "$work/metainfo.pot" "$work/page.pot" |
  sed '1s/.*/# Translations of Quillory, a two-player pass-and-play drawing game./' >"$work/quillory.pot"

if [ "$check" -eq 1 ]; then
  status=0
  for language in $languages; do
    msgcmp "po/$language.po" "$work/quillory.pot" 2>"$work/$language.log" ||
      { status=1; quillory_say "po/$language.po is not complete:"; sed 's/^/    /' "$work/$language.log" >&2; }
  done
  [ "$status" -ne 0 ] || quillory_say "every language of po/LINGUAS translates every sentence"
  exit "$status"
fi

# A template that differs only in its creation date stays as it was.
if [ -f "$POT" ] && diff -q -I '^"POT-Creation-Date:' "$POT" "$work/quillory.pot" >/dev/null; then
  quillory_say "$POT is up to date"
else
  cp "$work/quillory.pot" "$POT"
  quillory_say "wrote $POT ($(grep -c '^msgid ' "$POT") entries, the header included)"
fi
for language in $languages; do
  msgmerge --quiet --update --backup=none "po/$language.po" "$POT"
  quillory_say "po/$language.po: $(msgfmt --statistics -o /dev/null "po/$language.po" 2>&1)"
done
