#!/usr/bin/env bash
# quillmere-cli check-update against a hostile FTP server on 127.0.0.1 (started and stopped
# here): unsigned, tampered and foreign-signed files, links and folders planted in the download
# folder, a server that stalls or trickles, terminal escapes in the notes, a file-size limit.
# Usage: check_update_safety_test.sh PATH/TO/quillmere-cli
set -u
cli=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../cli/cli_test_lib.sh"
source "$here/update_test_lib.sh"
start_server
conf="$XDG_CONFIG_HOME/quillmere/update.conf"
unsigned='^The update is not signed by the publisher; nothing was installed$'
check() { expect_status "$1" "$cli" check-update --server "127.0.0.1:$port" "${@:2}"; }

# The version file must be signed by a configured key: no key, no signature, another key, a
# change after signing, a broken signature file.
publish 1.6 package
check 1
has out "$unsigned"
check 3 --public-key "$dir/publisher.pub"
echo "public-key=$publisher_key" >"$conf"
check 3
rm "$home/version.txt.minisig"
check 1
has out "$unsigned"
sign "$home/version.txt" "$dir/other.key"
check 1
has out "$unsigned"
sign "$home/version.txt"
printf 'Quillmere\r\n1.7\r\n7\r\n' >"$home/version.txt"
check 1
has out "$unsigned"
publish 1.6 package
sed -i '4s/^./A/' "$home/version.txt.minisig"  # the trusted comment's signature
check 1
has out "$unsigned"
# minisign's older, not prehashed signatures are accepted too.
minisign -S -l -s "$dir/publisher.key" -m "$home/version.txt" -x "$home/version.txt.minisig" >/dev/null 2>&1
check 3
expect_status 2 "$cli" check-update --public-key "$home/version.txt"

# Versions that are no finite positive number make no offer.
for v in -1.6 0 1E999 nan; do
  publish "$v" package
  check 1
  has out '^could not make connection to update server$'
done

# Escape sequences in the notes do not reach the terminal.
publish 1.6 package 7 $'\e[2J\e[HThis Version is up-to-date\a'
check 3
grep -q $'\e' "$dir/out" && fail "an escape character was printed"
has out '^\?\[2J\?\[HThis Version is up-to-date\?$'

# The installer: a foreign signature or a changed package is deleted, a good installer already
# in the folder is kept.
publish 1.6 package
printf 'good old' >"$dir/dl/Quillmereinstall.deb"
sign "$home/Quillmereinstall.deb" "$dir/other.key"
check 1 --download "$dir/dl"
has out "$unsigned"
[ "$(cat "$dir/dl/Quillmereinstall.deb")" = "good old" ] || fail "the good installer was replaced"
[ "$(ls -A "$dir/dl")" = Quillmereinstall.deb ] || fail "left behind: $(ls -A "$dir/dl")"
publish 1.6 package
printf 'pockage' >"$home/Quillmereinstall.deb"
check 1 --download "$dir/dl"
has out "$unsigned"
publish 1.6 package
check 3 --download "$dir/dl"
[ "$(cat "$dir/dl/Quillmereinstall.deb")" = package ] || fail "the verified installer is missing"
[ "$(stat -c %a "$dir/dl/Quillmereinstall.deb")" = 600 ] || fail "the installer is not private"

# Links and folders planted in a shared download folder are never followed or removed; a stale
# private file of an interrupted run is removed.
rm -f "$dir/dl/Quillmereinstall.deb"
printf 'victim' >"$dir/victim"
ln -s "$dir/victim" "$dir/dl/Quillmereinstall.deb.part"
ln -s "$dir/victim" "$dir/dl/Quillmereinstall.deb"
check 1 --download "$dir/dl"
has out "is not a regular file; the download was refused"
[ "$(cat "$dir/victim")" = victim ] || fail "the link's target was written"
[ -L "$dir/dl/Quillmereinstall.deb" ] || fail "the planted link was removed"
rm "$dir/dl/Quillmereinstall.deb"
mkdir "$dir/dl/Quillmereinstall.deb"
check 1 --download "$dir/dl"
has out "is not a regular file; the download was refused"
[ -d "$dir/dl/Quillmereinstall.deb" ] || fail "the planted folder was removed"
rmdir "$dir/dl/Quillmereinstall.deb"
printf 'half' >"$dir/dl/.Quillmereinstall.deb.part-0123456789ab"
check 3 --download "$dir/dl"
[ "$(cat "$dir/victim")" = victim ] || fail "the link's target was written"
[ -e "$dir/dl/.Quillmereinstall.deb.part-0123456789ab" ] && fail "the stale private file stays"
[ -L "$dir/dl/Quillmereinstall.deb.part" ] || fail "an unrelated link was removed"
rm "$dir/dl/Quillmereinstall.deb.part"

# A full disk, here a file-size limit with SIGXFSZ at its default: said as such, nothing left.
rm -f "$dir/dl/Quillmereinstall.deb"
publish 1.6 "$(head -c 40000 /dev/zero | tr '\0' q)"
(ulimit -f 8; exec "$cli" check-update --server "127.0.0.1:$port" --download "$dir/dl") >"$dir/out" 2>"$dir/err"
[ $? -eq 1 ] || fail "a full disk did not exit 1: $(cat "$dir/out" "$dir/err")"
has out '^The update could not be downloaded: the disk is full$'
[ -z "$(ls -A "$dir/dl")" ] || fail "left behind: $(ls -A "$dir/dl")"

# A server that stops sending after the first bytes, and one that trickles (a short window for
# the test instead of 31 s).
start_server --stall 2000
check 1 --download "$dir/dl" --stall-seconds 4
has out '^The update could not be downloaded: the update server stopped sending$'
[ -z "$(ls -A "$dir/dl")" ] || fail "left behind: $(ls -A "$dir/dl")"
start_server --rate 300
check 1 --download "$dir/dl" --stall-seconds 2
has out '^The update could not be downloaded: the update server stopped sending$'
[ -z "$(ls -A "$dir/dl")" ] || fail "left behind: $(ls -A "$dir/dl")"

exit $((failures > 0))
