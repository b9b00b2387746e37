// Created hidden at start-up and kept for the whole run; its content is not
// part of the launcher yet.
#pragma once

#include <QWidget>

namespace qvs {

class TfrmProblemsWithUpdater : public QWidget {
public:
    explicit TfrmProblemsWithUpdater(QWidget* owner) : QWidget(owner, Qt::Window) {
        setObjectName(QStringLiteral("frmProblemsWithUpdater"));
        hide();
    }
};

} // namespace qvs
