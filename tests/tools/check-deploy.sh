#!/usr/bin/env bash
# Checks the files of deploy/ with the programs that read them on a host:
# systemd-analyze verify on the unit (its ExecStart pointed at the built
# server) and nginx -t on the two nginx files inside a minimal nginx.conf.
# Exits 77, which the test runner counts as skipped, when a program or the
# nginx stream module is missing.
# usage: check-deploy.sh DEPLOY_DIR QVS_SERVER
set -euo pipefail
deploy=$1
server=$2
for tool in systemd-analyze nginx; do
    command -v "$tool" >/dev/null || PATH=$PATH:/usr/sbin
    command -v "$tool" >/dev/null || { echo "skipped: no $tool"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

sed "s|^ExecStart=/usr/local/bin/qvs-server|ExecStart=$server|" "$deploy/qvs-server.service" \
    >"$work/qvs-server.service"
# Warnings count: a misspelt setting is only a warning to systemd.
if ! output=$(systemd-analyze verify "$work/qvs-server.service" 2>&1) || [ -n "$output" ]; then
    echo "systemd-analyze verify qvs-server.service:"
    echo "$output"
    exit 1
fi

module=""
if ! nginx -V 2>&1 | grep -q -- '--with-stream '; then
    module=/usr/lib/nginx/modules/ngx_stream_module.so
    [ -f "$module" ] || { echo "skipped: no nginx stream module"; exit 77; }
    module="load_module $module;"
fi
cat >"$work/nginx.conf" <<CONF
$module
pid $work/nginx.pid;
error_log $work/error.log;
events {}
http {
    include $deploy/nginx-updates.conf;
}
include $deploy/nginx-stream-qvs.conf;
CONF
nginx -t -q -p "$work" -e "$work/error.log" -c "$work/nginx.conf"
