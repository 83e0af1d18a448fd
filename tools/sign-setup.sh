#!/usr/bin/env bash
# Signs a Windows program (Authenticode, SHA-256) with osslsigncode.
#   sign-setup.sh [options] IN OUT        (IN and OUT may be the same file)
# The certificate, one of:
#   --pkcs12 FILE [--password-file FILE]  a PKCS#12 file (.pfx) and the file holding its password
#   --cert FILE --key FILE                a certificate chain and its private key (PEM or DER)
# and optionally:
#   --timestamp URL                       an RFC 3161 time-stamp server: the signature stays
#                                         valid after the certificate expires
# The key never belongs in the repository: the release build takes these from the CMake cache
# (VEK_SIGN_PKCS12, VEK_SIGN_PASSWORD_FILE, VEK_SIGN_TIMESTAMP_URL; see README.md).
set -euo pipefail
credentials=() timestamp=()
while [ $# -gt 2 ]; do
  case $1 in
    --pkcs12) credentials+=(-pkcs12 "$2"); shift 2 ;;
    --password-file) credentials+=(-readpass "$2"); shift 2 ;;
    --cert) credentials+=(-certs "$2"); shift 2 ;;
    --key) credentials+=(-key "$2"); shift 2 ;;
    --timestamp) timestamp=(-ts "$2"); shift 2 ;;
    *) echo "sign-setup.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
[ $# -eq 2 ] && [ ${#credentials[@]} -gt 0 ] || { echo "usage: sign-setup.sh --pkcs12 FILE | --cert FILE --key FILE [--password-file FILE] [--timestamp URL] IN OUT" >&2; exit 2; }
command -v osslsigncode >/dev/null || { echo "sign-setup.sh: osslsigncode is missing (scripts/deps.sh installs it)" >&2; exit 1; }
in=$1 out=$2
# osslsigncode writes a new file; the signed program replaces OUT only when signing succeeded.
tmp=$out.signing
rm -f "$tmp"
trap 'rm -f "$tmp"' EXIT
osslsigncode sign "${credentials[@]}" "${timestamp[@]}" -h sha256 -n "Vek Setup" -in "$in" -out "$tmp" >/dev/null
mv -f "$tmp" "$out"
