// The launcher's entry point. It takes no arguments: everything it needs is
// found beside its own executable.
#include "launcher/ExitCleanUp.h"
#include "launcher/ProcessValues.h"
#include "launcher/SingleInstance.h"
#include "launcher/gui/QtPrompts.h"
#include "launcher/gui/QtShell.h"
#include "launcher/gui/TfrmMain.h"
#include "platform/EmbeddedVersion.h"
#include "windows/WebEngineSetUp.h"

#include <QApplication>
#include <QDir>

namespace {

// The installation directory with its trailing separator. It is also made
// the working directory, as the game client expects to start there.
std::string InstallDirectory() {
    const QString dir = QCoreApplication::applicationDirPath();
    QDir::setCurrent(dir);
    return QDir::toNativeSeparators(dir + QLatin1Char('/')).toLocal8Bit().toStdString();
}

int RunLauncher(qvs::ProcessValues& values) {
    qvs::QtPrompts prompts;
    qvs::QtShell shell;
    qvs::TfrmMain frmMain(values, prompts, shell);
    prompts.SetOwner(&frmMain);
    if (qvs::SingleInstance().FoundRunningInstance(prompts)) {
        return 1;
    }
    frmMain.RunStartUp();
    frmMain.show();
    QApplication::exec();
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    qvs::PrepareWebEngine();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvash"));
    qvs::ProcessValues values(InstallDirectory());
    try {
        if (RunLauncher(values) != 0) {
            return 1;
        }
    } catch (...) {
        // Whatever went wrong, the extracted class is still removed below.
    }
    qvs::CleanUpClientClass(values.ClientClassDir, values.InstallDir());
    return 0;
}
