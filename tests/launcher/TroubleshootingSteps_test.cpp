#include "launcher/TroubleshootingSteps.h"

#include "platform/FileSystem.h"
#include "support/RawFile.h"
#include "support/RecordingPrompts.h"
#include "support/TempDir.h"
#include "support/TreeSnapshot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace qvs {
namespace {

namespace fs = std::filesystem;

enum class Outcome { Deleted, Missing, InUse };

struct StepCase {
    bool clientCode;                // the client code step, else the data step
    std::vector<std::string> files; // a name ending in "/" is a directory
    const char* readOnly;           // one of files, or nullptr
    std::vector<std::string> left;  // what remains afterwards, sorted
    Outcome outcome;
};

// Files on disk carry the names the updater writes, in whatever case; the
// message names the file as the launcher spells it. A directory named like the
// client code is no file of it.
TEST(TroubleshootingStep, DeletesAndReports) {
    const StepCase cases[] = {
        {true, {"QVSC.ecd", "qvsc.dat", "qvs.dat"}, nullptr, {"qvs.dat"}, Outcome::Deleted},
        {true, {"qvsc.ecd/", "qvsc.dat"}, nullptr, {"qvsc.ecd/"}, Outcome::Missing},
        {true, {"qvsc.ecd", "qvsc.dat"}, "qvsc.ecd", {"qvsc.ecd"}, Outcome::InUse},
        {false, {"QVS.DAT", "qvsc.dat"}, nullptr, {"qvsc.dat"}, Outcome::Deleted}};
    for (const StepCase& c : cases) {
        test::TempDir dir;
        for (const std::string& file : c.files) {
            if (file.ends_with('/')) {
                fs::create_directory(dir.Path() / file);
            } else {
                test::WriteRawFile(dir.Path() / file, "data");
            }
        }
        if (c.readOnly != nullptr) {
            ASSERT_TRUE(platform::SetAttributes(dir.File(c.readOnly), platform::AttrReadOnly));
        }
        test::RecordingPrompts prompts;
        if (c.clientCode) {
            DeleteClientCodeFiles(dir.Str(), prompts);
        } else {
            DeleteDataVersionFile(dir.Str(), prompts);
        }
        std::vector<std::string> left;
        for (const auto& [name, content] : test::TreeSnapshot(dir.Path())) {
            left.push_back(name);
        }
        EXPECT_EQ(left, c.left) << c.files[0];
        const std::string path = dir.Str() + (c.clientCode ? "QVSC.ecd" : "QVS.dat");
        const std::string messages[] = {
            "Successfully deleted " + path +
                ".  Restart Quorvash and press the 'Play Button' To see if that fixed your problem.",
            "Could not delete " + path + " : the file did not exist",
            "Could not delete " + path + " : the file is currently in use"};
        EXPECT_EQ(prompts.messages,
                  std::vector<std::string>{messages[static_cast<std::size_t>(c.outcome)]});
        if (c.readOnly != nullptr) {
            platform::SetAttributes(dir.File(c.readOnly), 0);
        }
    }
}

} // namespace
} // namespace qvs
