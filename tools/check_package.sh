#!/usr/bin/env bash
# Builds the Debian package from build/, lists its files, checks it with
# lintian (no error, no warning), unpacks it into a temporary root, validates
# the desktop entry, the file types and the AppStream metainfo, and runs the
# unpacked korvana-cli against the one just built and has it make a handout.
set -euo pipefail
cd "$(dirname "$0")/.."
rm -f build/korvana_*.deb
(cd build && cpack -G DEB >/dev/null 2>&1)
package=$(ls build/korvana_*.deb)
echo "Package: $package"
dpkg-deb -f "$package" Depends Recommends
dpkg-deb -c "$package" | awk '{print "  " $6}'
# Informational tags are shown; an error or a warning fails the check.
lintian --display-level '>=info' "$package" 2>/dev/null || true
if lintian --fail-on error,warning "$package" >/dev/null 2>&1; then
  echo "lintian: no error, no warning."
else
  echo "lintian reports errors or warnings."
  exit 1
fi
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$package" "$root"
desktop-file-validate "$root/usr/share/applications/org.korvana.Korvana.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.korvana.Korvana.metainfo.xml"
grep -q '^Exec=korvana %f$' "$root/usr/share/applications/org.korvana.Korvana.desktop"
for type in application/x-bridge-pbn application/x-korvana-deals; do
  grep -q "type=\"$type\"" "$root/usr/share/mime/packages/org.korvana.Korvana.xml"
done
installed=$("$root/usr/bin/korvana-cli" generate --key 1 --count 3 2>/dev/null)
built=$(build/korvana-cli generate --key 1 --count 3 2>/dev/null)
echo "$installed"
if [ "$installed" != "$built" ] || [ "$(echo "$installed" | wc -l)" -ne 3 ]; then
  echo "The unpacked korvana-cli does not print key 1's first three deals."
  exit 1
fi
# The handout painter is a module that korvana-cli loads only for `handout`:
# the unpacked program must find it where the package puts it.
build/korvana-cli generate --key 1 --count 2 --out "$root/deals.pbn" >/dev/null 2>&1
if ! "$root/usr/bin/korvana-cli" handout "$root/deals.pbn" --out "$root/handout.pdf" 2>/dev/null ||
  [ ! -s "$root/handout.pdf" ]; then
  echo "The unpacked korvana-cli makes no handout."
  exit 1
fi
echo "Package check: the unpacked korvana-cli prints key 1's first three deals and makes a handout."
