#!/bin/sh
# Redraw the eighteen panel images into src/resources (and a contact sheet in
# /tmp/lumarin-artwork). Debian's python3 sees python3-cairo, -numpy and -pil.
set -e
cd "$(dirname "$0")"
PYTHONDONTWRITEBYTECODE=1 exec /usr/bin/python3 generate.py "$@"
