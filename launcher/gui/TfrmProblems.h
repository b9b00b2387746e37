// Created hidden at start-up and kept for the whole run; its content is not
// part of the launcher yet.
#pragma once

#include <QWidget>

namespace qvs {

class TfrmProblems : public QWidget {
public:
    explicit TfrmProblems(QWidget* owner) : QWidget(owner, Qt::Window) {
        setObjectName(QStringLiteral("frmProblems"));
        hide();
    }
};

} // namespace qvs
