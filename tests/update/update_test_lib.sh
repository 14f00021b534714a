# Sourced by the check-update tests (after cli_test_lib.sh): publisher keys made by minisign,
# the FTP folder $home, and start_server [ARGS...] which starts tests/update/ftp_server.py on
# 127.0.0.1 (stopped at exit) and sets $port.
export XDG_CONFIG_HOME="$dir/config" HOME="$dir/home"
mkdir -p "$XDG_CONFIG_HOME/quillmere" "$HOME" "$dir/ftp/Website/QuillmereHome" "$dir/dl"
home="$dir/ftp/Website/QuillmereHome"
has() { grep -qE -- "$2" "$dir/$1" || fail "$1 lacks '$2': $(cat "$dir/$1")"; }

# The publisher's key pair and another one (no password: -W).
minisign -G -W -p "$dir/publisher.pub" -s "$dir/publisher.key" >/dev/null 2>&1 &&
  minisign -G -W -p "$dir/other.pub" -s "$dir/other.key" >/dev/null 2>&1 ||
  { echo "FAIL: minisign cannot make keys"; exit 1; }
publisher_key=$(tail -1 "$dir/publisher.pub")

# sign FILE [KEY]: FILE.minisig beside FILE, prehashed (the default of minisign).
sign() { minisign -S -s "${2:-$dir/publisher.key}" -m "$1" -x "$1.minisig" >/dev/null 2>&1 || fail "sign $1"; }
# publish VERSION INSTALLER-CONTENT [ANNOUNCED-SIZE] [NOTES]: signed version.txt and installer.
publish() {
  local size=${3:-${#2}}
  printf 'Quillmere\r\n%s\r\n%s\r\n%s' "$1" "$size" "${4:-Rank 5}" >"$home/version.txt"
  printf '%s' "$2" >"$home/Quillmereinstall.deb"
  sign "$home/version.txt"
  sign "$home/Quillmereinstall.deb"
}

servers=()
stop_servers() { local s; for s in "${servers[@]}"; do kill "$s" 2>/dev/null; wait "$s" 2>/dev/null; done; }
trap 'stop_servers; rm -rf "$dir"' EXIT
start_server() {
  rm -f "$dir/port"
  /usr/bin/python3 "$here/ftp_server.py" --root "$dir/ftp" --log "$dir/log" "$@" >"$dir/port" 2>"$dir/server.err" &
  servers+=($!)
  for _ in $(seq 100); do [ -s "$dir/port" ] && break; sleep 0.1; done
  port=$(head -1 "$dir/port")
  [ -n "$port" ] || { echo "FAIL: the FTP server did not start: $(cat "$dir/server.err")"; exit 1; }
}
