#!/usr/bin/env bash
# scripts/cups-check.sh installs nothing that its caller did not ask for. dpkg is made to
# answer that the printing packages are missing (a PATH of stand-ins), and every tool that
# could install or start something only writes down that it was called.
#  - Not asked: the check says "skipped" with the reason, succeeds, and calls nothing.
#  - Asked (VT_CUPS_INSTALL=1, as CI does), as root: it asks apt-get for exactly the
#    missing packages (the stand-in refuses, so the check then says it cannot install).
set -uo pipefail
root=${1:?the source folder}
shims=$(mktemp -d /tmp/vt-cups-consent.XXXXXX)
trap 'rm -rf "$shims"' EXIT
calls=$shims/calls
: >"$calls"
cat >"$shims/dpkg-query" <<'SH'
#!/bin/sh
exit 1
SH
for tool in apt-get apt sudo dpkg cupsd lpadmin lpstat systemctl; do
  # "apt-get update" succeeds, so that the install itself is asked for (and refused).
  printf '#!/bin/sh\necho "%s $*" >>"%s"\n[ "$1" = update ] && [ %s = apt-get ]\n' \
    "$tool" "$calls" "$tool" >"$shims/$tool"
done
chmod +x "$shims"/*

failed=0
fail() {
  echo "FAILED: $*"
  failed=1
}

out=$(env -u VT_CUPS_INSTALL PATH="$shims:$PATH" bash "$root/scripts/cups-check.sh" 2>&1)
rc=$?
echo "not asked: $out"
[ "$rc" -eq 0 ] || fail "the check ended with $rc"
grep -q "^cups-check: skipped: cups cups-client printer-driver-cups-pdf poppler-utils not installed" \
  <<<"$out" || fail "no plain skipped line naming the missing packages"
grep -q "VT_CUPS_INSTALL=1" <<<"$out" || fail "the skipped line does not say how to ask"
[ ! -s "$calls" ] || fail "tools were called: $(cat "$calls")"

if [ "$(id -u)" -eq 0 ]; then
  : >"$calls"
  out=$(VT_CUPS_INSTALL=1 PATH="$shims:$PATH" bash "$root/scripts/cups-check.sh" 2>&1)
  rc=$?
  echo "asked: $out"
  [ "$rc" -eq 0 ] || fail "the check ended with $rc"
  grep -q "^apt-get install .*cups cups-client printer-driver-cups-pdf poppler-utils" "$calls" ||
    fail "the missing packages were not asked of apt-get: $(cat "$calls")"
  grep -q "cannot be installed" <<<"$out" || fail "the refused install is not said"
else
  echo "asked: not tried (installing needs root)"
fi
exit "$failed"
