// Whole files as bytes, read and written with the standard library only, so
// tests check the OS layer and the code above it against an independent path.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace qvs::test {

void WriteRawFile(const std::filesystem::path& path, std::string_view bytes);
// Nothing when the file cannot be opened.
std::optional<std::string> ReadRawFile(const std::filesystem::path& path);

} // namespace qvs::test
