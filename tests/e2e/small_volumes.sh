#!/usr/bin/env bash
# Small volumes for the index-folder tests: DIR/full, a 2 MB tmpfs that the test fills,
# DIR/readonly, a tmpfs mounted read-only, and DIR/chaos, 64 MB for the chaos runs' index. Mounting needs root; elsewhere nothing is mounted
# and the tests skip, saying so.
# Usage: small_volumes.sh mount|unmount DIR
set -euo pipefail
action="$1" dir="$2"
for volume in full readonly chaos; do
    mountpoint -q "$dir/$volume" 2>/dev/null && umount "$dir/$volume"
done
rm -f "$dir/mounted"
[ "$action" = mount ] || exit 0
if [ "$(id -u)" != 0 ]; then
    echo "not root: no small volumes, the index-folder volume tests skip"
    exit 0
fi
mkdir -p "$dir/full" "$dir/readonly" "$dir/chaos"
mount -t tmpfs -o size=2m,mode=0777 tamsel-full "$dir/full"
mount -t tmpfs -o ro,size=1m tamsel-readonly "$dir/readonly"
mount -t tmpfs -o size=64m,mode=0777 tamsel-chaos "$dir/chaos"
touch "$dir/mounted"
echo "mounted $dir/full (2 MB), $dir/readonly (read-only) and $dir/chaos (64 MB)"
