// The launcher's entry point. It takes no arguments: everything it needs is
// found beside its own executable.
#include "launcher/ExitCleanUp.h"
#include "launcher/ProcessValues.h"
#include "launcher/SingleInstance.h"
#include "platform/EmbeddedVersion.h"
#include "ui/qt/Pictures.h"
#include "ui/qt/QtPrompts.h"
#include "ui/qt/QtShell.h"
#include "ui/qt/TfrmMain.h"
#include "ui/qt/WebEngineSetUp.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

#include <cstdio>
#include <exception>

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

// A start-up that failed says why, on standard error and in a message box,
// and ends the process with a failure code.
int StartUpFailed(const char* reason) {
    std::fprintf(stderr, "qvs.exe: start-up failed: %s\n", reason);
    QMessageBox::critical(nullptr, QApplication::applicationName(),
                          QStringLiteral("Quorvash could not start: ") +
                              QString::fromLocal8Bit(reason));
    return 1;
}

} // namespace

int main(int argc, char* argv[]) {
    qvs::PrepareWebEngine();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvash"));
    QApplication::setWindowIcon(qvs::LauncherIcon());
    qvs::ProcessValues values(InstallDirectory());
    int exitCode = 0;
    try {
        exitCode = RunLauncher(values);
    } catch (const std::exception& error) {
        exitCode = StartUpFailed(error.what());
    } catch (...) {
        exitCode = StartUpFailed("unknown error");
    }
    // Whatever went wrong, the extracted class is still removed.
    qvs::CleanUpClientClass(values.ClientClassDir, values.InstallDir());
    return exitCode;
}
