#include "ui/qt/WebEngineSetUp.h"

#include "platform/Privileges.h"

#include <QByteArray>
#include <QCoreApplication>

namespace qvs {

void PrepareWebEngine() {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (!platform::RunsAsRoot()) {
        return;
    }
    static constexpr char Variable[] = "QTWEBENGINE_CHROMIUM_FLAGS";
    QByteArray flags = qgetenv(Variable);
    if (!flags.contains("--no-sandbox")) {
        flags.append(flags.isEmpty() ? "--no-sandbox" : " --no-sandbox");
        qputenv(Variable, flags);
    }
}

} // namespace qvs
