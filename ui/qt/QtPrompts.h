// The launcher's message boxes as modal Qt dialogs.
#pragma once

#include "system/IPrompts.h"

class QWidget;

namespace qvs {

class QtPrompts : public IPrompts {
public:
    explicit QtPrompts(QWidget* owner = nullptr) : owner_(owner) {}

    void SetOwner(QWidget* owner) { owner_ = owner; }
    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;

private:
    QWidget* owner_;
};

} // namespace qvs
