// Child program for the process tests. Each argument is one action, run in
// order, so the tests need no shell:
//   out=TEXT, err=TEXT     write TEXT to standard output / error; \n, \r,
//                          \\ and \xHH stand for the bytes they name
//   outfill=N, errfill=N   write N bytes ('o' / 'e')
//   forever                never end
//   close                  close standard output and standard error
//   context                write every environment variable and a LF, then
//                          "stdin-empty" when standard input gives no byte,
//                          then the current directory
//   args                   write every following argument in brackets, then end
//   exit=N                 end now with exit code N
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <thread>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#define QVS_ENVIRONMENT _environ
#else
#include <unistd.h>
#define QVS_ENVIRONMENT environ
#endif

namespace {

void Write(std::FILE* stream, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

std::string Unescape(std::string_view text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char code = text[i] == '\\' && i + 1 < text.size() ? text[++i] : '\0';
        if (code == 'x' && i + 2 < text.size()) {
            bytes += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            bytes += code == 'n' ? '\n' : code == 'r' ? '\r' : code == '\0' ? text[i] : code;
        }
    }
    return bytes;
}

// Runs one action; false when the program is to end.
bool Run(std::string_view action, int& exitCode) {
    const std::size_t equals = action.find('=');
    const std::string_view name = action.substr(0, equals);
    const std::string value(equals == std::string_view::npos ? "" : action.substr(equals + 1));
    std::FILE* stream = name.starts_with("out") ? stdout : stderr;
    if (name == "out" || name == "err") {
        Write(stream, Unescape(value));
    } else if (name == "outfill" || name == "errfill") {
        Write(stream, std::string(std::stoul(value), name[0]));
    } else if (name == "forever") {
        for (;;) {
            std::this_thread::sleep_for(std::chrono::seconds(1));
        }
    } else if (name == "close") {
        std::fclose(stdout);
        std::fclose(stderr);
    } else if (name == "context") {
        for (char** variable = QVS_ENVIRONMENT; variable && *variable; ++variable) {
            Write(stdout, std::string(*variable) + "\n");
        }
        Write(stdout, std::fgetc(stdin) == EOF ? "stdin-empty" : "");
        Write(stdout, std::filesystem::current_path().string());
    } else {
        exitCode = name == "exit" ? std::stoi(value) : 99;
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // Bytes go out unchanged: no LF to CR LF translation.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    int exitCode = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "args") {
            while (++i < argc) {
                Write(stdout, "[" + std::string(argv[i]) + "]");
            }
            break;
        }
        if (!Run(argv[i], exitCode)) {
            break;
        }
    }
    return exitCode;
}
