# nginx as an independent HTTP peer on loopback, for the end-to-end test and
# the network benchmark. Sourced; needs no system configuration and runs as
# root or as any user.

# start_nginx PREFIX PORT ROOT [ADDRESS] [WORKERS] [CONNECTIONS]: serves ROOT
# on ADDRESS:PORT (127.0.0.1 by default) in the background with WORKERS
# processes (1) of CONNECTIONS connections (64), with its configuration, logs
# (PREFIX/access.log) and temporary files below PREFIX; its process id is
# left in nginx_pid.
start_nginx() {
    local prefix=$1 port=$2 root=$3 address=${4:-127.0.0.1} workers=${5:-1} connections=${6:-64}
    mkdir -p "$prefix/temp"
    cat >"$prefix/nginx.conf" <<CONF
worker_processes $workers;
user root;
pid $prefix/nginx.pid;
error_log $prefix/error.log;
events { worker_connections $connections; }
http {
  access_log $prefix/access.log;
  sendfile on;
  client_body_temp_path $prefix/temp/body;
  proxy_temp_path $prefix/temp/proxy;
  fastcgi_temp_path $prefix/temp/fastcgi;
  uwsgi_temp_path $prefix/temp/uwsgi;
  scgi_temp_path $prefix/temp/scgi;
  server {
    listen $address:$port;
    root $root;
  }
}
CONF
    nginx -c "$prefix/nginx.conf" -p "$prefix" -e "$prefix/error.log" -g 'daemon off;' \
        2>"$prefix/output.log" &
    nginx_pid=$!
}
