#!/usr/bin/env bash
# cmake --install into a temporary DESTDIR, then the installed programs run from there: the
# command-line tool finds tensor.tab through its link in bin/, the desktop program opens its main
# window, and the desktop entry, the file type and the AppStream file pass their validators.
# Usage: install_test.sh BUILD-FOLDER
set -u
build=$1
source "$(dirname "$0")/cli/cli_test_lib.sh"
root=$dir/root
prefix=/opt/quillmere-test

expect_status 0 env DESTDIR="$root" cmake --install "$build" --prefix "$prefix"
p=$root$prefix
for f in lib/quillmere/quillmere lib/quillmere/quillmere-cli lib/quillmere/quillmere-cli-full \
  lib/quillmere/tensor.tab lib/quillmere/quillmere.png share/applications/quillmere.desktop \
  share/mime/packages/quillmere.xml share/icons/hicolor/16x16/apps/quillmere.png \
  share/icons/hicolor/256x256/apps/quillmere.png share/icons/hicolor/scalable/apps/quillmere.svg \
  share/icons/hicolor/48x48/mimetypes/application-x-quillmere-tensor.png \
  share/man/man1/quillmere.1.gz share/man/man1/quillmere-cli.1.gz \
  share/doc/quillmere/examples/quartz-piezoelectric.ten share/doc/quillmere/copyright; do
  [ -e "$p/$f" ] || fail "not installed: $f"
done
[ -e "$p/lib/quillmere/Quillmerehelp.html" ] || [ ! -d "$(dirname "$0")/../docs/manual" ] ||
  fail "the manual is not in the program folder"
ls "$p"/share/metainfo/*.metainfo.xml >/dev/null 2>&1 || fail "no AppStream file"

# bin/ holds relative links, so the installation works wherever DESTDIR put it.
for program in quillmere quillmere-cli; do
  target=$(readlink "$p/bin/$program")
  [ "$target" = "../lib/quillmere/$program" ] || fail "bin/$program links to '$target'"
done

# The installed tool finds tensor.tab in the program folder through the link.
expect_status 0 "$p/bin/quillmere-cli" components "(ij)" "4/mm"
[ "$(cat "$dir/out")" = "$(printf 't11=t22\nt33')" ] || fail "components of (ij) in 4/mm: $(cat "$dir/out")"
expect_status 0 "$p/bin/quillmere-cli" info "$p/share/doc/quillmere/examples/copper-elastic.ten"
# ... and hands the update check to the full tool beside it.
expect_status 0 "$p/bin/quillmere-cli" check-update --help
grep -q "^Usage: quillmere-cli check-update" "$dir/out" || fail "check-update --help: $(cat "$dir/out")"

# The installed desktop program starts and opens its main window ("Quillmere Ver. ...") under a
# real X server, with settings in a fresh folder.
if command -v xvfb-run >/dev/null && command -v xdotool >/dev/null; then
  mkdir -p "$dir/home"
  HOME=$dir/home XDG_CONFIG_HOME=$dir/home/config XDG_DATA_HOME=$dir/home/data \
    QT_QPA_PLATFORM=xcb timeout 60 xvfb-run -a sh -c '
      "$1" & pid=$!
      found=$(timeout 30 xdotool search --sync --name "^Quillmere Ver\\." 2>/dev/null | head -n 1)
      kill $pid 2>/dev/null; wait $pid 2>/dev/null
      [ -n "$found" ]' sh "$p/bin/quillmere" >"$dir/gui.log" 2>&1 ||
    fail "the installed program opened no main window: $(tail -5 "$dir/gui.log")"
else
  echo "SKIP: xvfb-run or xdotool missing, the desktop program's start is not checked"
fi

if command -v desktop-file-validate >/dev/null; then
  expect_status 0 desktop-file-validate "$p/share/applications/quillmere.desktop"
  [ -s "$dir/out" ] && fail "desktop-file-validate: $(cat "$dir/out")"
fi
if command -v appstreamcli >/dev/null; then
  expect_status 0 appstreamcli validate --no-net "$p"/share/metainfo/*.metainfo.xml
fi
if command -v update-mime-database >/dev/null; then
  # The file type is read by the real MIME database: *.ten files, and files that begin with the
  # header line whatever their name, are tensor files.
  expect_status 0 update-mime-database "$p/share/mime"
  grep -q 'application/x-quillmere-tensor' "$p/share/mime/globs2" || fail "no *.ten glob"
  grep -aq 'Quillmere-Datafile' "$p/share/mime/magic" || fail "no magic rule for the header"
fi

# The manual pages are well-formed roff.
if command -v man >/dev/null; then
  for page in quillmere quillmere-cli; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \
      "$p/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man $page: $warnings"
  done
fi

echo "$((failures == 0 ? 1 : 0)) passed, $failures failed"
[ "$failures" -eq 0 ]
