#!/usr/bin/env bash
# The publisher's tool for signed updates (openssl from Debian).
#   scripts/sign-package.sh keygen KEY.pem       make a private key (keep it off the
#                                                update server); prints the public key
#   scripts/sign-package.sh pubkey KEY.pem       print the public key again
#   scripts/sign-package.sh sign KEY.pem PACKAGE sign PACKAGE into PACKAGE.sig
# The public key is printed as the hex that THERMOLYX_PUBLISHER_KEY takes (04, X, Y).
# PACKAGE.sig is what the program reads: the ECDSA P-256 signature over the
# package's SHA-256 as r then s, 32 bytes each (64 bytes in all). Put it beside the
# package on the server.
set -euo pipefail

usage() { sed -n '2,9p' "$0" >&2; exit 2; }

public_key() {
    # The last 65 bytes of the public key's DER form are the point: 04, X, Y.
    openssl ec -in "$1" -pubout -outform DER 2>/dev/null | tail -c 65 | xxd -p -c 65
}

case ${1:-} in
keygen)
    key=${2:?$(usage)}
    [ -e "$key" ] && { echo "sign-package: $key exists; not replaced" >&2; exit 1; }
    (umask 077 && openssl ecparam -name prime256v1 -genkey -noout -out "$key")
    public_key "$key"
    ;;
pubkey)
    public_key "${2:?$(usage)}"
    ;;
sign)
    key=${2:?$(usage)}
    package=${3:?$(usage)}
    der=$(mktemp)
    trap 'rm -f "$der"' EXIT
    openssl dgst -sha256 -sign "$key" -out "$der" "$package"
    # The DER signature holds r and s as two integers; each becomes 32 bytes, big-endian.
    raw=""
    while read -r value; do
        value=$(printf '%064s' "$value" | tr ' ' 0)
        raw+=${value: -64}
    done < <(openssl asn1parse -inform DER -in "$der" | sed -n 's/.*INTEGER *://p')
    [ ${#raw} -eq 128 ] || { echo "sign-package: unexpected signature from openssl" >&2; exit 1; }
    printf '%s' "$raw" | xxd -r -p > "$package.sig"
    ;;
*)
    usage
    ;;
esac
