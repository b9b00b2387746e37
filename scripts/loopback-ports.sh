# Ports on 127.0.0.1 for the scripts and tests that start servers. Sourced.

# free_port: a port that nothing listens on at this moment.
free_port() {
    python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

# port_open PORT: true when something accepts connections on it.
port_open() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

# wait_for_port PORT [SECONDS]: waits up to SECONDS (10) for a listener;
# says so on stderr and fails when none came.
wait_for_port() {
    local tries=$((${2:-10} * 10))
    for _ in $(seq "$tries"); do
        port_open "$1" && return 0
        sleep 0.1
    done
    echo "nothing listens on port $1" >&2
    return 1
}
