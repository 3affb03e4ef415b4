#!/usr/bin/env bash
# Makes the WinZip AES fixtures of the AesLib tests with 7-Zip, an implementation of the
# stream that is not ours. Each zip entry is stored (-mx=0), so the plaintext of its AES
# stream is plain.txt byte for byte; the stream is cut out of the zip into <name>.bin and
# its password written to <name>.password (no newline). Run it from anywhere; it writes
# next to itself. Salts are random, so every run gives different .bin files.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
sevenzip=$(command -v 7z || command -v 7zz || true)
if [[ -z $sevenzip ]]; then
    echo "make-fixtures.sh: 7-Zip (7z or 7zz, Debian package 7zip) is needed" >&2
    exit 1
fi

# name, 7-Zip method, password. The password's byte length picks the key mode on our side
# (0-31 AES-128, 32-47 AES-192, 48+ AES-256), so each one sits in its method's class.
# 7-Zip takes at most 99 password characters; the AES-256 one uses them all, which is
# longer than a SHA-1 block and so also covers the hashed-HMAC-key path of PBKDF2.
fixtures=(
    "aes128 AES128 pyxa-fixture-128"
    "aes192 AES192 pyxa fixture: the 192-bit key mode"
    "aes256 AES256 pyxa fixture: the 256-bit key mode, with a password of 99 bytes, the most that 7-Zip would take in."
)

# Refuses a password whose byte length falls outside the key mode of the method.
check_mode() {
    local bytes
    bytes=$(printf '%s' "$2" | wc -c)
    case $1 in
    AES128) ((bytes < 32)) ;;
    AES192) ((bytes >= 32 && bytes < 48)) ;;
    AES256) ((bytes >= 48)) ;;
    esac || { echo "password of $bytes bytes does not fit $1" >&2; exit 1; }
}

# Unsigned little-endian integer of <size> bytes at <offset> in <file>.
read_le() {
    od -An -v -t "u$2" -j "$1" -N "$2" --endian=little "$3" | tr -d ' \n'
}

# Cuts the encrypted data of the only entry of <zip> into <out>.
extract_stream() {
    local zip=$1 out=$2
    local eocd=$(($(stat -c %s "$zip") - 22))
    [[ $(read_le "$eocd" 4 "$zip") == 101010256 ]] || { echo "$zip: no end record" >&2; exit 1; }
    local central=$(read_le $((eocd + 16)) 4 "$zip")
    local packed=$(read_le $((central + 20)) 4 "$zip")
    local local_header=$(read_le $((central + 42)) 4 "$zip")
    [[ $(read_le $((local_header + 8)) 2 "$zip") == 99 ]] || { echo "$zip: not AES" >&2; exit 1; }
    local name_length=$(read_le $((local_header + 26)) 2 "$zip")
    local extra_length=$(read_le $((local_header + 28)) 2 "$zip")
    local data=$((local_header + 30 + name_length + extra_length))
    tail -c +$((data + 1)) "$zip" | head -c "$packed" >"$out"
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

printf '%s\n' \
    "Pyxa AES fixture plaintext. Its length is no multiple of sixteen, so the" \
    "last key-stream block is used only in part. 0123456789abcdef" >"$here/plain.txt"

for entry in "${fixtures[@]}"; do
    read -r name method password <<<"$entry"
    check_mode "$method" "$password"
    (cd "$here" && "$sevenzip" a -tzip -mx=0 "-mem=$method" "-p$password" "$work/$name.zip" plain.txt >/dev/null)
    extract_stream "$work/$name.zip" "$here/$name.bin"
    printf '%s' "$password" >"$here/$name.password"
    echo "$name: $(stat -c %s "$here/$name.bin") bytes, password of ${#password} bytes"
done
