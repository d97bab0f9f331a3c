#!/bin/sh
# CI: builds the Debian package, installs it with apt as an operator would, checks
# its contents, menu entry and AppStream metadata, runs the installed quelmar
# --version, and starts the installed programs (packaging/smoke-test.sh). The
# package is removed again at the end. Runs as root.
set -eu
cd "$(dirname "$0")/.."
app_id=io.github.quelmar.Quelmar
out="$(mktemp -d)"
chmod 755 "$out"  # apt reads the file as its own user
trap 'rm -rf "$out"' EXIT
scripts/package.sh "$out"
deb="$(echo "$out"/quelmar_*.deb)"
[ -f "$deb" ] || { echo "expected one package, got: $deb" >&2; exit 1; }

# The programs are the only executables, so no test or bench program ships; the
# icon comes in every size and each program has its manual page.
contents="$(dpkg-deb -c "$deb" | awk '{ print $NF }')"
programs="$(echo "$contents" | grep '/bin/.' | LC_ALL=C sort | tr '\n' ' ')"
[ "$programs" = "./usr/bin/quelmar ./usr/bin/quelmar-cli ./usr/bin/quelmar-standsim " ] \
  || { echo "unexpected programs in the package: $programs" >&2; exit 1; }
ships() {
  echo "$contents" | grep -qx "./usr/share/$1" || { echo "the package lacks /usr/share/$1" >&2; exit 1; }
}
ships man/man1/quelmar.1.gz
ships man/man1/quelmar-standsim.1.gz
ships man/man1/quelmar-cli.1.gz
for size in 16 32 48 64 128 256; do
  ships "icons/hicolor/${size}x$size/apps/$app_id.png"
done

scripts/install-deps.sh desktop-file-utils appstream xvfb xdotool socat poppler-utils
trap 'apt-get remove -y -qq quelmar >/dev/null; rm -rf "$out"' EXIT
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb"
dpkg-query -W -f='Depends: ${Depends}\nRecommends: ${Recommends}\n' quelmar

desktop-file-validate "/usr/share/applications/$app_id.desktop"
# validate-tree also checks that the metadata's launchable names a desktop file the package has.
dpkg-deb -x "$deb" "$out/tree"
appstreamcli validate-tree --no-net "$out/tree"

# Qt needs a display even to print its version; offscreen is one.
version="$(QT_QPA_PLATFORM=offscreen timeout 30 quelmar --version)"
echo "$version"
case "$version" in
  "quelmar $(dpkg-query -W -f='${Version}' quelmar)"*) ;;
  *) echo "quelmar --version does not name the package's version" >&2; exit 1 ;;
esac

# quelmar-cli needs no display at all, not even to draw a report: a test on its own
# simulated stand, stored, with its two-page report.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 30 quelmar-cli --version
printf '%s' '{"name": "Smoke", "test": {"distance_mm": 2, "speed_mm_min": 300}}' > "$out/smoke.json"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 60 quelmar-cli run --simulated \
  --method "$out/smoke.json" --sample smoke --database "sqlite:$out/smoke.sqlite" --pdf "$out/smoke.pdf" --json
pdfinfo "$out/smoke.pdf" | grep -q '^Pages: *2$' || { echo "the headless report is not two pages" >&2; exit 1; }

timeout 300 packaging/smoke-test.sh /usr/bin
