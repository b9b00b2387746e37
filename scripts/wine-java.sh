#!/bin/sh
# java.exe and javaw.exe of the Windows demo under Wine (run.sh --windows):
# Wine starts this Unix script for them, and it runs the Linux Java runtime
# with the launcher's Windows paths made Unix ones ("Z:\dir;Z:\b.jar" ->
# "/dir:/b.jar"). Only for the demo: players install Java for Windows.
for argument; do
    shift
    set -- "$@" "$(printf '%s' "$argument" | sed -e 's/[Zz]:\\/\//g' -e 's/\\/\//g' -e 's/;/:/g')"
done
exec java "$@"
