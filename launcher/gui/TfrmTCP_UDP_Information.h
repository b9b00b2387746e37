// Created hidden at start-up and kept for the whole run; its content is not
// part of the launcher yet.
#pragma once

#include <QWidget>

namespace qvs {

class TfrmTCP_UDP_Information : public QWidget {
public:
    explicit TfrmTCP_UDP_Information(QWidget* owner) : QWidget(owner, Qt::Window) {
        setObjectName(QStringLiteral("frmTCP_UDP_Information"));
        hide();
    }
};

} // namespace qvs
