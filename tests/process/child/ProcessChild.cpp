// Child program for the process tests. Each argument is one action, run in
// order:
//   out=TEXT, err=TEXT     write TEXT to standard output / error; \n, \r, \t,
//                          \\ and \xHH stand for the bytes they name
//   outfill=N, errfill=N   write N bytes ('o' / 'e')
//   sleep=MS               sleep MS milliseconds
//   forever                never end
//   close                  close standard output and standard error
//   env                    write every environment variable and a LF
//   args                   write every following argument in brackets, then end
//   stdin                  write "stdin-empty" when standard input gives no byte
//   cwd                    write the current directory
//   exit=N                 end now with exit code N
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <thread>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

char** Environment() {
#ifdef _WIN32
    return _environ;
#else
    return environ;
#endif
}

void Write(std::FILE* stream, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

std::string Unescape(std::string_view text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            bytes += text[i];
            continue;
        }
        const char code = text[++i];
        if (code == 'n') {
            bytes += '\n';
        } else if (code == 'r') {
            bytes += '\r';
        } else if (code == 't') {
            bytes += '\t';
        } else if (code == 'x' && i + 2 < text.size()) {
            bytes += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            bytes += code;
        }
    }
    return bytes;
}

void Fill(std::FILE* stream, char byte, std::size_t count) {
    const std::string block(64 * 1024, byte);
    while (count > 0) {
        const std::size_t piece = count < block.size() ? count : block.size();
        std::fwrite(block.data(), 1, piece, stream);
        count -= piece;
    }
    std::fflush(stream);
}

void WriteEnvironment() {
    for (char** variable = Environment(); variable != nullptr && *variable != nullptr; ++variable) {
        Write(stdout, std::string(*variable) + "\n");
    }
}

void ReportStandardInput() {
    if (std::fgetc(stdin) == EOF) {
        Write(stdout, "stdin-empty");
    }
}

// Runs one action; false when the program is to end.
bool Run(std::string_view action, int& exitCode) {
    const std::size_t equals = action.find('=');
    const std::string_view name = action.substr(0, equals);
    const std::string value(equals == std::string_view::npos ? "" : action.substr(equals + 1));
    if (name == "out" || name == "err") {
        Write(name == "out" ? stdout : stderr, Unescape(value));
    } else if (name == "outfill" || name == "errfill") {
        Fill(name == "outfill" ? stdout : stderr, name[0], std::stoul(value));
    } else if (name == "sleep") {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::stoi(value)));
    } else if (name == "forever") {
        for (;;) {
            std::this_thread::sleep_for(std::chrono::seconds(1));
        }
    } else if (name == "close") {
        std::fclose(stdout);
        std::fclose(stderr);
    } else if (name == "env") {
        WriteEnvironment();
    } else if (name == "stdin") {
        ReportStandardInput();
    } else if (name == "cwd") {
        Write(stdout, std::filesystem::current_path().string());
    } else if (name == "exit") {
        exitCode = std::stoi(value);
        return false;
    } else {
        Write(stderr, "unknown action " + std::string(action));
        exitCode = 99;
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
            for (++i; i < argc; ++i) {
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
