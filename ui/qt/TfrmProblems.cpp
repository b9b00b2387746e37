#include "ui/qt/TfrmProblems.h"

#include "ui/qt/LocalText.h"
#include "ui/qt/WindowBuilder.h"

#include <QPlainTextEdit>
#include <QPushButton>

namespace qvs {

TfrmProblems::TfrmProblems(QWidget* owner, std::string installDir, IShell& shell, IPrompts* prompts)
    : QDialog(owner, WindowFlagsOf(ui::ProblemsWindowTable())), ownPrompts_(this),
      prompts_(prompts != nullptr ? *prompts : ownPrompts_),
      steps_(std::move(installDir), shell, prompts_),
      guard_([this](const std::string& message) { prompts_.ShowMessage(message); }) {
    BuildWindow(*this, ui::ProblemsWindowTable());
    ConnectButtons();
    hide();
}

void TfrmProblems::ConnectButtons() {
    for (const ui::ControlSpec& control : ui::ProblemsWindowTable().controls) {
        if (control.kind == ui::ControlKind::Button) {
            connect(Find<QPushButton>(*this, control.name), &QPushButton::clicked, this,
                    guard_.Slot([this, name = control.name] { Click(name); }));
        }
    }
}

void TfrmProblems::Click(std::string_view button) {
    const std::optional<ModalResult> result = TroubleshootingSteps::ResultOf(button);
    if (!result) {
        SetMemoLines(Find<QPlainTextEdit>(*this, "memJavaVersion"), steps_.DetermineJavaVersion());
        return;
    }
    setResult(static_cast<int>(*result));
    steps_.Run(button);
    done(static_cast<int>(*result));
}

ModalResult TfrmProblems::ShowModal() {
    return static_cast<ModalResult>(exec());
}

void TfrmProblems::SetJavaVersionCommandLine(std::string commandLine) {
    steps_.SetJavaVersionCommandLine(std::move(commandLine));
}

void TfrmProblems::reject() {
    done(static_cast<int>(ModalResult::Cancel));
}

bool TfrmProblems::event(QEvent* event) {
    return guard_.Event([this, event] { return QDialog::event(event); });
}

} // namespace qvs
