#!/bin/sh
# CI: the README's two commands on a machine that has nothing. A bare Debian 12
# root (mmdebstrap, minbase, from the Debian mirror apt uses here) gets a clean
# clone of this checkout; inside it, as root, scripts/test.sh installs, builds and
# runs the suite, then scripts/run.sh must bring up the program's window on a
# virtual display.
#
# The bare root is cached as a tarball in $QUELMAR_ROOT_CACHE (default
# .cache/fresh-root, ignored by git), made anew each week or when its recipe
# changes. Packages are only ever installed into an unpacked copy, so every run
# proves what scripts/install-deps.sh installs.
#
# The copy lives in a memory file system mounted, like its /proc, /sys, /dev/pts
# and /dev/shm, in a mount namespace of its own, and everything in it runs in a
# PID namespace of its own: when the check ends, however it ends (failure, a
# signal, even SIGKILL of this script), the kernel ends every process left in it,
# and the mounts and the copy go with them. Runs as root.
set -eu
cd "$(dirname "$0")/.."
repo="$(pwd)"
suite=bookworm

mark="$(date +%s)"
# Says how long the step that ends now took.
took() {
  now="$(date +%s)"
  echo "fresh root: $1 in $((now - mark)) s"
  mark="$now"
}

# Inside the namespaces (the script calls itself so): unpacks the bare root
# tarball $2 onto the empty folder $3 and runs the two commands there.
if [ "${1:-}" = --in-namespaces ]; then
  root="$3"
  mount -t tmpfs -o size=12g,mode=755 fresh-root "$root"
  tar -xf "$2" -C "$root"
  cp /etc/resolv.conf /etc/hosts "$root/etc/"
  # Not a booted machine: installed services must not start (a PostgreSQL server
  # would take the host's port).
  printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
  chmod 755 "$root/usr/sbin/policy-rc.d"
  # The pseudo-terminals of the root's own devpts instance.
  ln -sf pts/ptmx "$root/dev/ptmx"
  mount -t proc proc "$root/proc"
  mount -t sysfs -o ro sysfs "$root/sys"
  mount -t devpts -o newinstance,ptmxmode=0666,mode=0620,gid=5 devpts "$root/dev/pts"
  mount -t tmpfs -o mode=1777,nosuid,nodev shm "$root/dev/shm"
  git clone --quiet --no-hardlinks "$repo" "$root/root/quelmar"
  took "bare root unpacked and $(git -C "$root/root/quelmar" rev-parse --short HEAD) cloned into it"

  # Runs the command line $1 in the clone, as root with a login's environment.
  in_root() {
    chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
      PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
      /bin/sh -eu -c "cd /root/quelmar && $1"
  }
  in_root scripts/test.sh
  took "scripts/test.sh"

  # xdotool is for this check only, so it comes after the suite has run without it.
  cat >"$root/tmp/window-check.sh" <<'EOF'
scripts/install-deps.sh xdotool
Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x800x24 3>/tmp/display 2>/tmp/xvfb.log &
xvfb=$!
timeout 10 sh -c 'until [ -s /tmp/display ]; do sleep 0.1; done' || { cat /tmp/xvfb.log; exit 1; }
DISPLAY=":$(cat /tmp/display)"
export DISPLAY
scripts/run.sh >/tmp/run.log 2>&1 &
app=$!
window="$(timeout 120 xdotool search --sync --onlyvisible --name '^Quelmar' | head -n 1)"
if [ -z "$window" ]; then
  echo "scripts/run.sh showed no window" >&2
  cat /tmp/run.log >&2
  exit 1
fi
echo "window on display $DISPLAY: $(xdotool getwindowname "$window")"
sleep 3
kill -0 "$app" || { echo "the program ended within 3 s of showing its window" >&2; cat /tmp/run.log >&2; exit 1; }
kill "$app" "$xvfb"
wait "$app" "$xvfb" 2>/dev/null || true
EOF
  in_root "sh -eu /tmp/window-check.sh"
  took "scripts/run.sh showed its window"
  exit 0
fi

began="$mark"
cache="${QUELMAR_ROOT_CACHE:-$repo/.cache/fresh-root}"
tarball=""
mountpoint=""
job=""
cleanup() {
  if [ -n "$job" ]; then
    kill -KILL "$job" 2>/dev/null || true
    wait "$job" 2>/dev/null || true
  fi
  [ -z "$tarball" ] || rm -f "$tarball.part"
  # Mounted on in the namespaces only, so empty here.
  [ -z "$mountpoint" ] || rmdir "$mountpoint"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

# Runs "$@" in mount and PID namespaces of its own, as a background job waited for,
# so that a signal's trap runs at once rather than when the job ends. unshare holds
# SIGTERM back while its child runs, so the cleanup stops the job with SIGKILL, and
# with it (--kill-child) everything in the namespaces; so does the end of this
# script by SIGKILL (--pdeathsig), which leaves only the empty mount point.
namespaced() {
  setpriv --pdeathsig KILL -- unshare --mount --pid --fork --kill-child=SIGKILL -- "$@" &
  job=$!
  status=0
  wait "$job" || status=$?
  job=""
  return "$status"
}

# The lines apt here fetches the suite, its updates and its security updates from.
mirrors() {
  apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' 'Identifier: Packages' \
    | awk -v suite="$suite" '$2 == suite || index($2, suite "-") == 1 { print "deb " $1, $2, $3 }' \
    | sort -u
}
sources="$(mirrors)"
# Unsafe I/O: dpkg skips its fsyncs, which a throwaway root has no use for.
recipe="mmdebstrap --variant=minbase --dpkgopt=force-unsafe-io $suite $sources"
tarball="$cache/$suite-minbase-$(date +%G-W%V)-$(echo "$recipe" | sha256sum | cut -c1-12).tar"

mountpoint="$(mktemp -d "${TMPDIR:-/tmp}/quelmar-fresh-root.XXXXXX")"
if [ ! -f "$tarball" ]; then
  mkdir -p "$cache"
  # No mirror lines (a host without this suite) leaves mmdebstrap its own default.
  set --
  while IFS= read -r line; do
    [ -z "$line" ] || set -- "$@" "$line"
  done <<EOF
$sources
EOF
  # mmdebstrap builds in a memory file system of its namespaces, so its mounts and
  # its half-made root go with them should it be stopped.
  namespaced sh -eu -c 'mount -t tmpfs -o size=4g,mode=755 mmdebstrap "$0"
    TMPDIR="$0" mmdebstrap "$@"' "$mountpoint" \
    --quiet --variant=minbase --dpkgopt=force-unsafe-io --format=tar "$suite" "$tarball.part" "$@"
  rm -f "$cache/$suite"-minbase-*.tar
  mv "$tarball.part" "$tarball"
  took "bare root made by mmdebstrap"
fi

namespaced "$repo/scripts/ci-fresh-root.sh" --in-namespaces "$tarball" "$mountpoint"
mark="$began"
took "fresh root check passed"
