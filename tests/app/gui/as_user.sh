#!/bin/sh
# Runs a test program as nobody when started as root (who may write anything),
# as the calling user otherwise. When nobody cannot run it (no setpriv, or a
# build folder that only root may enter) it runs as root, and a permission
# test then skips and says why.
asNobody="setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME=/tmp"
if [ "$(id -u)" = 0 ] && $asNobody "$1" -functions >/dev/null 2>&1; then
    exec $asNobody "$@"
fi
exec "$@"
