// Created hidden at start-up and kept for the whole run; its content is not
// part of the launcher yet.
#pragma once

#include <QWidget>

namespace qvs {

class TfrmSendErrorReport : public QWidget {
public:
    explicit TfrmSendErrorReport(QWidget* owner) : QWidget(owner, Qt::Window) {
        setObjectName(QStringLiteral("frmSendErrorReport"));
        hide();
    }
};

} // namespace qvs
