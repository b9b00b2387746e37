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
    QApplication::setWindowIcon(qvs::LauncherIcon());
    qvs::ProcessValues values(InstallDirectory());
    return qvs::RunLauncherProcess(
        values, [&values] { return RunLauncher(values); },
        [](const std::string& message) {
            QMessageBox::critical(nullptr, QApplication::applicationName(),
                                  QString::fromUtf8(message.c_str()));
        });
}
