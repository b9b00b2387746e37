// Stand-in launcher for the patch tests. With "sleep=MS" it only sleeps and
// ends (a process to wait for); otherwise it writes "marker.txt" into its
// working directory, holding "started" and its arguments, and ends: proof
// that it was started, where, and with what.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>
#include <thread>

int main(int argc, char** argv) {
    if (argc == 2 && std::string_view(argv[1]).starts_with("sleep=")) {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::stoi(argv[1] + 6)));
        return 0;
    }
    std::string text = "started";
    for (int i = 1; i < argc; ++i) {
        text += std::string(" ") + argv[i];
    }
    // Written under another name first, so a reader never sees half of it.
    { std::ofstream("marker.tmp", std::ios::binary) << text; }
    std::rename("marker.tmp", "marker.txt");
    return 0;
}
