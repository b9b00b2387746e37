# Ports on 127.0.0.1, and waiting for what servers and windows do, for the
# scripts and tests that start them. Sourced.

# wait_for SECONDS COMMAND...: runs COMMAND every 0.2 s until it succeeds;
# fails when it has not within SECONDS.
wait_for() {
    local limit=$1
    shift
    for _ in $(seq 1 $((limit * 5))); do
        "$@" && return 0
        sleep 0.2
    done
    return 1
}

# free_port: a port that nothing listens on at this moment.
free_port() {
    python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

# port_open PORT [ADDRESS]: true when something accepts connections on it
# (on 127.0.0.1 unless ADDRESS is given).
port_open() { (exec 3<>"/dev/tcp/${2:-127.0.0.1}/$1") 2>/dev/null; }

# listens_on PID ADDRESS PORT: true when process PID holds the socket that
# listens on ADDRESS:PORT, so the server answering there is that one.
listens_on() {
    local local_address inode
    # /proc/net/tcp writes the address as one little-endian number.
    local_address=$(awk -F. -v port="$3" '{printf "%02X%02X%02X%02X:%04X", $4, $3, $2, $1, port}' \
        <<<"$2")
    inode=$(awk -v a="$local_address" '$2 == a && $4 == "0A" {print $10; exit}' /proc/net/tcp)
    [[ -n $inode ]] && ls -l "/proc/$1/fd" 2>/dev/null | grep -q "socket:\[$inode\]"
}

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
