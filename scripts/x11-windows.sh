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

# Answers every Yes/No box and modal window of the launcher with Escape (No,
# or Cancel).
answer_no() {
    local box
    for box in $(xdotool search --onlyvisible --classname '^qvs.exe$' 2>/dev/null); do
        xdotool key --window "$box" Escape 2>/dev/null || true
    done
}
