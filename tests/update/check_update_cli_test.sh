#!/usr/bin/env bash
# quillmere-cli check-update against a real FTP server on 127.0.0.1 (started and stopped here).
# Usage: check_update_cli_test.sh PATH/TO/quillmere-cli
set -u
cli=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../cli/cli_test_lib.sh"
has() { grep -qE -- "$2" "$dir/$1" || fail "$1 lacks '$2': $(cat "$dir/$1")"; }
export XDG_CONFIG_HOME="$dir/config" HOME="$dir/home"
mkdir -p "$XDG_CONFIG_HOME/quillmere" "$HOME" "$dir/ftp/Website/QuillmereHome" "$dir/dl"
home="$dir/ftp/Website/QuillmereHome"

/usr/bin/python3 "$here/ftp_server.py" --root "$dir/ftp" --log "$dir/log" >"$dir/port" 2>"$dir/server.err" &
server=$!
trap 'kill $server 2>/dev/null; wait $server 2>/dev/null; rm -rf "$dir"' EXIT
for _ in $(seq 100); do [ -s "$dir/port" ] && break; sleep 0.1; done
port=$(head -1 "$dir/port")
[ -n "$port" ] || { echo "FAIL: the FTP server did not start: $(cat "$dir/server.err")"; exit 1; }

# No server configured: nothing is contacted.
expect_status 1 "$cli" check-update
has err 'No update server is configured'
expect_status 2 "$cli" check-update --server "127.0.0.1:99999"

printf 'Quillmere\r\n1.5004\r\n7\r\n' >"$home/version.txt"
printf 'package' >"$home/Quillmereinstall.deb"
echo "server=127.0.0.1:$port" >"$XDG_CONFIG_HOME/quillmere/update.conf"
expect_status 0 "$cli" check-update
has out '^This Version is up-to-date$'

printf 'Quillmere\r\n1.6\r\n7\r\nRank 5\r\n' >"$home/version.txt"
expect_status 3 "$cli" check-update --server "127.0.0.1:$port"
has out '^Published version: 1.6 '
has out '^Rank 5$'
[ -e "$dir/dl/Quillmereinstall.deb" ] && fail "downloaded without --download"
expect_status 3 "$cli" check-update --download "$dir/dl"
has out "^Installer: $dir/dl/Quillmereinstall.deb\$"
[ "$(cat "$dir/dl/Quillmereinstall.deb")" = package ] || fail "installer content"

# A size that does not match: reported as a failed download, the file removed.
rm -f "$dir/dl/Quillmereinstall.deb"
printf 'Quillmere\r\n1.6\r\n70\r\n' >"$home/version.txt"
expect_status 1 "$cli" check-update --download "$dir/dl"
has out '^could not make connection to update server$'
[ -e "$dir/dl/Quillmereinstall.deb" ] && fail "a download of the wrong size was kept"

# Nobody listening.
kill $server; wait $server 2>/dev/null
expect_status 1 "$cli" check-update --server "127.0.0.1:$port"
has out '^could not make connection to update server$'

exit $((failures > 0))
