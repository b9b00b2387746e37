// The error report window: the game's error log and the launcher's
// configuration file as one editable text, which the player copies into a
// mail to the developers. Created once at start-up; closing only hides it,
// so the text and any edits stay for the next showing.
#pragma once

#include "launcher/ModalResult.h"
#include "ui/qt/HandlerGuard.h"

#include <QDialog>

#include <functional>
#include <string>

class QPlainTextEdit;

namespace qvs {

class IShell;
class TImage;

class TfrmSendErrorReport : public QDialog {
    Q_OBJECT

public:
    // Reads no file yet: FormCreate does, once the start-up has written
    // the configuration file.
    TfrmSendErrorReport(QWidget* owner, std::string configPath, std::string errorLogPath,
                        IShell& shell, std::function<void()> playClickSound);

    // Builds the report text: the configuration file, an empty line, then
    // the first lines of the error log. Run once at start-up.
    void FormCreate();
    // Replaces the report text by the configuration file alone, as the
    // updater error window sends it.
    void LoadConfiguration();
    // The report text as it goes to the clipboard: every line ended by CR LF.
    std::string ReportText() const;

    ModalResult ShowModal();
    void reject() override;

    QPlainTextEdit* memErrorLog = nullptr;
    TImage* btnSendErrorReport = nullptr;
    TImage* btnDontSend = nullptr;

private:
    void SetReportText(const std::string& crLfText);

    void btnSendErrorReportClick();
    void btnDontSendClick();
    bool event(QEvent* event) override;

    std::string configPath_;
    std::string errorLogPath_;
    IShell& shell_;
    std::function<void()> playClickSound_;
    HandlerGuard guard_; // errors are logged: the window is modal
};

} // namespace qvs
