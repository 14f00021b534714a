#!/usr/bin/env bash
# The Debian package of the build: named quillmere_<version>_amd64.deb, section science, with
# dependencies found by dpkg-shlibdeps, holding the installation's files under /usr, and no
# lintian errors.
# Usage: package_test.sh BUILD-FOLDER
set -u
build=$1
source "$(dirname "$0")/cli/cli_test_lib.sh"
if ! command -v dpkg-shlibdeps >/dev/null; then
  echo "SKIP: dpkg-dev is not installed"
  exit 77
fi
# A copy of the package configuration that writes into the temporary folder, so the test leaves
# the build folder as it was.
expect_status 0 cpack --config "$build/CPackConfig.cmake" -G DEB -B "$dir/package"
deb=$(ls "$dir"/package/quillmere_*_amd64.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "no quillmere_<version>_amd64.deb: $(cat "$dir/out" "$dir/err")"
if [ -n "$deb" ]; then
  dpkg-deb -f "$deb" Section | grep -qx science || fail "section: $(dpkg-deb -f "$deb" Section)"
  dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "depends: $(dpkg-deb -f "$deb" Depends)"
  dpkg-deb -c "$deb" >"$dir/contents"
  for f in ./usr/lib/quillmere/quillmere ./usr/lib/quillmere/quillmere-cli-full \
    ./usr/lib/quillmere/tensor.tab \
    ./usr/share/applications/quillmere.desktop ./usr/share/doc/quillmere/copyright; do
    grep -q " $f\$" "$dir/contents" || fail "not in the package: $f"
  done
  grep -q ' ./usr/bin/quillmere -> ../lib/quillmere/quillmere$' "$dir/contents" ||
    fail "bin/quillmere is not a relative link"
  if command -v lintian >/dev/null; then
    lintian --fail-on error "$deb" >"$dir/lintian" 2>&1 || fail "lintian: $(cat "$dir/lintian")"
    cat "$dir/lintian"
  fi
fi
echo "$((failures == 0 ? 1 : 0)) passed, $failures failed"
[ "$failures" -eq 0 ]
