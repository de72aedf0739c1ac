#!/usr/bin/env bash
# Makes sure this machine can run 32-bit x86 Linux programs, which Wine needs for 32-bit Windows
# programs. Some kernels have 32-bit execution switched off (it then fails with "Exec format
# error"); there the programs run through QEMU's user-mode emulator, registered with the kernel
# for every 32-bit x86 ELF file. The emulator comes from the next Debian release: the one of this
# release mishandles signals that Wine relies on. As root; does nothing when not needed.
set -euo pipefail

probe=/lib/ld-linux.so.2   # any 32-bit x86 program: the loader runs as one
runs_i386() { "$probe" --version >/dev/null 2>&1; }

[ -x "$probe" ] || { echo "enable-i386: $probe is missing (libc6:i386)" >&2; exit 1; }
runs_i386 && exit 0

# The Debian archive this machine is configured with (its sources, not its package lists, which
# may be empty before the first update); Debian's own redirector when none is configured.
debian_archive() {
  local uri
  uri=$( { grep -hs '^URIs:' /etc/apt/sources.list.d/*.sources | awk '{print $2}'
           grep -hs '^deb ' /etc/apt/sources.list /etc/apt/sources.list.d/*.list |
             sed 's/\[[^]]*\]//' | awk '{print $2}'; } |
         grep -v -e security -e '^$' | head -n1 || true)
  echo "${uri:-http://deb.debian.org/debian}"
}

emulator=/usr/local/libexec/qemu-i386
release=trixie
if [ ! -x "$emulator" ]; then
  echo "enable-i386: this kernel runs no 32-bit programs; installing QEMU's user-mode emulator"
  # A private apt state for the one download, so the system's package lists stay as they are.
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  echo "deb $(debian_archive) $release main" > "$work/sources.list"
  mkdir -p "$work/lists/partial" "$work/cache"
  apt_private=(-o Dir::Etc::sourcelist="$work/sources.list" -o Dir::Etc::sourceparts=-
               -o Dir::State::Lists="$work/lists" -o Dir::Cache="$work/cache"
               -o APT::Architectures=amd64 -o APT::Sandbox::User=root -o Debug::NoLocking=1)
  apt-get "${apt_private[@]}" update -qq
  (cd "$work" && apt-get "${apt_private[@]}" download qemu-user >/dev/null)
  dpkg-deb -x "$work"/qemu-user_*.deb "$work/root"
  install -D -m 755 "$work/root/usr/bin/qemu-i386" "$emulator"
fi

binfmt=/proc/sys/fs/binfmt_misc
mountpoint -q "$binfmt" || mount -t binfmt_misc binfmt_misc "$binfmt"
if ! grep -qx "interpreter $emulator" "$binfmt/qemu-i386" 2>/dev/null; then
  [ -e "$binfmt/qemu-i386" ] && echo -1 > "$binfmt/qemu-i386"
  # ELF, 32-bit, little-endian, executable or shared object, machine 3 (i386). F: the kernel
  # keeps the emulator open, so it also serves programs started from other mount namespaces.
  magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  echo ":qemu-i386:M::$magic:$mask:$emulator:F" > "$binfmt/register"
fi

runs_i386 || { echo "enable-i386: 32-bit programs still do not run" >&2; exit 1; }
