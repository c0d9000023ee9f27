#!/usr/bin/env bash
# require-tool.sh PACKAGE TOOL...: exits 0 when one of the tools is on PATH, otherwise fails
# with one line that names the Debian package to install.
# require-tool.sh --missing PACKAGE TOOL [ignored...]: stands in for a tool that the build did
# not find when it was configured, and always fails with that line.
if [ "$1" = --missing ]; then
    echo "FAIL: $3 is missing; install the Debian package $2 (then configure again)" >&2
    exit 1
fi
package=$1
shift
for tool in "$@"; do
    command -v "$tool" >/dev/null 2>&1 && exit 0
done
echo "FAIL: $1 is missing; install the Debian package $package" >&2
exit 1
