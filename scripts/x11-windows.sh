# Finding the launcher's and the demo client's windows on an X display with
# xdotool; sourced by the headless demo and the end-to-end test.

# The launcher's main window; the game client's window has the same title.
launcher_window() {
    local id
    for id in $(xdotool search --onlyvisible --classname '^qvs.exe$' 2>/dev/null); do
        if [[ "$(xdotool getwindowname "$id" 2>/dev/null)" == Quorvash ]]; then
            echo "$id"
            return
        fi
    done
}

client_window() {
    xdotool search --onlyvisible --class '^MainClass.MainClass$' 2>/dev/null | head -n1
}

# The process id of the demo client that the launcher of one installation
# started: a Java process working in that directory (given absolute, links
# resolved), so nobody else's Java program is ever taken for it.
started_client() { # install
    local proc comm
    for proc in /proc/[0-9]*; do
        read -r comm <"$proc/comm" 2>/dev/null || continue
        [[ $comm == java && $(readlink "$proc/cwd" 2>/dev/null) == "$1" ]] &&
            tr '\0' ' ' <"$proc/cmdline" 2>/dev/null | grep -q 'MainClass.StartUp' &&
            echo "${proc#/proc/}" && return
    done
    return 0 # none yet
}

# Answers every Yes/No box and modal window of the launcher with Escape (No,
# or Cancel).
answer_no() {
    local box
    for box in $(xdotool search --onlyvisible --classname '^qvs.exe$' 2>/dev/null); do
        xdotool key --window "$box" Escape 2>/dev/null || true
    done
}
