// Asking the installed Java runtime for its version and judging whether it
// can run the game client (1.4 or later).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "system/IConfigWriter.h"
#include "system/IPrompts.h"

namespace qvs {

#ifdef _WIN32
inline constexpr const char* kJavaVersionCommandLine = "java.exe -version";
#else
inline constexpr const char* kJavaVersionCommandLine = "java -version";
#endif

// Runs the version query, stores its whole output as one line (each line
// followed by " <BR> ") in "JAVA_VERSION"/"VERSION" - also when the query
// could not run, then as the empty text - and judges the quoted version.
// The command line is a parameter so tests can stand in for the runtime.
bool CheckJavaVersion(IConfigWriter& config, IPrompts& prompts,
                      const std::string& commandLine = kJavaVersionCommandLine);

// The text between the first and the second double quote, if there are two.
std::optional<std::string_view> QuotedVersionText(std::string_view output);

// Judges the version query's output by its quoted version text. A text in
// one of the two version schemes is judged by its release: "1.x..." with x
// of 4 or more, or a first number of 2 or more ("9", "11.0.2", "21-ea"), is
// accepted, 1.0 to 1.3 refused. Any other text ("", "1", "0.9", a word) is
// refused only when "1.0", "1.1", "1.2" or "1.3" appears in it, so an
// unusual runtime is not sent away. No quoted text at all is refused.
bool IsJavaVersionAccepted(std::string_view output);

} // namespace qvs
