#include "ui/qt/QtShell.h"

#include <QDesktopServices>
#include <QDir>
#include <QProcess>
#include <QUrl>

namespace qvs {

void QtShell::OpenUrl(const std::string& url) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

void QtShell::OpenFile(const std::string& path, const std::string& workingDirectory) {
    const QDir base(QString::fromStdString(workingDirectory));
    QDesktopServices::openUrl(
        QUrl::fromLocalFile(base.absoluteFilePath(QString::fromStdString(path))));
}

void QtShell::StartProgram(const ProgramStart& start) {
    // Like the Windows shell, a program lying in the working directory is
    // found there before the search path is tried.
    QString program = QString::fromStdString(start.program);
    const QDir workingDirectory(QString::fromStdString(start.workingDirectory));
    if (!start.workingDirectory.empty() && QDir::isRelativePath(program) &&
        workingDirectory.exists(program)) {
        program = workingDirectory.absoluteFilePath(program);
    }
    QProcess process;
    process.setProgram(program);
#ifdef Q_OS_WIN
    // The program splits the text itself, exactly as it was built.
    process.setNativeArguments(QString::fromStdString(start.parameters));
#else
    QStringList arguments;
    for (const std::string& argument : start.arguments) {
        arguments.push_back(QString::fromStdString(argument));
    }
    process.setArguments(arguments);
#endif
    if (!start.workingDirectory.empty()) {
        process.setWorkingDirectory(QString::fromStdString(start.workingDirectory));
    }
    process.startDetached();
}

} // namespace qvs
