// The commands of qvs-pack, the operator's tool for .ecd packages:
//   create FOLDER OUT.ecd [--base DIR]   package a folder tree, scrambled
//   list FILE.ecd                        print the base directory and records
//   extract FILE.ecd INSTALL_DIR         unpack as the launcher does
//   encode IN OUT / decode IN OUT        scramble or unscramble a whole file
//   keygen, sign, verify                 signed updates (SignCommands.h)
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace qvs {

class PackCommands {
public:
    static constexpr int Success = 0;
    static constexpr int BadInput = 1;
    static constexpr int WrongUsage = 2;

    PackCommands(std::ostream& out, std::ostream& err);

    // args without the program name; returns the exit code.
    int Run(const std::vector<std::string>& args);

private:
    int Dispatch(const std::vector<std::string>& args);
    int Usage();
    void Create(const std::string& folder, const std::string& output, const std::string& base);
    void List(const std::string& input);
    void Extract(const std::string& input, const std::string& installDir);
    void Encode(const std::string& input, const std::string& output);
    void Decode(const std::string& input, const std::string& output);

    std::ostream& out_;
    std::ostream& err_;
};

} // namespace qvs
