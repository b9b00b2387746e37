#include "ui/qt/QtPrompts.h"

#include <QApplication>
#include <QMessageBox>

namespace qvs {

namespace {

// The caption of the launcher's message boxes is the program's name.
QString Caption() {
    return QApplication::applicationName();
}

} // namespace

void QtPrompts::ShowMessage(const std::string& text) {
    QMessageBox::information(owner_, Caption(), QString::fromLocal8Bit(text.c_str()),
                             QMessageBox::Ok);
}

bool QtPrompts::AskYesNo(const std::string& text) {
    return QMessageBox::question(owner_, Caption(), QString::fromLocal8Bit(text.c_str()),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

} // namespace qvs
