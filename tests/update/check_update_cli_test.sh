#!/usr/bin/env bash
# quillmere-cli check-update against a real FTP server on 127.0.0.1 (started and stopped here).
# Usage: check_update_cli_test.sh PATH/TO/quillmere-cli
set -u
cli=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../cli/cli_test_lib.sh"
source "$here/update_test_lib.sh"
start_server
server=${servers[0]}

# No server configured: nothing is contacted.
expect_status 1 "$cli" check-update
has err 'No update server is configured'
expect_status 2 "$cli" check-update --server "127.0.0.1:99999"

publish 1.5004 package
printf 'server=127.0.0.1:%s\npublic-key=%s\n' "$port" "$publisher_key" >"$XDG_CONFIG_HOME/quillmere/update.conf"
expect_status 0 "$cli" check-update
has out '^This Version is up-to-date$'

publish 1.6 package 7 $'Rank 5\r\n'
expect_status 3 "$cli" check-update --server "127.0.0.1:$port"
has out '^Published version: 1.6 '
has out '^Rank 5$'
[ -e "$dir/dl/Quillmereinstall.deb" ] && fail "downloaded without --download"
expect_status 3 "$cli" check-update --download "$dir/dl"
has out "^Installer: $dir/dl/Quillmereinstall.deb\$"
[ "$(cat "$dir/dl/Quillmereinstall.deb")" = package ] || fail "installer content"

# A size that does not match: reported as a failed download, the file removed.
rm -f "$dir/dl/Quillmereinstall.deb"
publish 1.6 package 70
expect_status 1 "$cli" check-update --download "$dir/dl"
has out '^The installer arrived with 7 bytes instead of 70$'
[ -e "$dir/dl/Quillmereinstall.deb" ] && fail "a download of the wrong size was kept"
[ -z "$(ls -A "$dir/dl")" ] || fail "the download left files: $(ls -A "$dir/dl")"

# Nobody listening.
kill $server; wait $server 2>/dev/null
expect_status 1 "$cli" check-update --server "127.0.0.1:$port"
has out '^could not make connection to update server$'

exit $((failures > 0))
