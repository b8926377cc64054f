#!/bin/sh
# The comparison programs of the console benchmark (not needed to build or test): inotifywait
# (inotify-tools) and fatrace. Run as root, like the benchmark itself (loop mount, fatrace).
set -eu
missing=""
for package in inotify-tools fatrace e2fsprogs mount; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing="$missing $package"
done
if [ -n "$missing" ]; then
    apt-get update
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
fi
