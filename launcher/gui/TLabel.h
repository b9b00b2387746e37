// A transparent text label that reports clicks and the pointer entering and
// leaving it.
#pragma once

#include <QLabel>

namespace qvs {

class TLabel : public QLabel {
    Q_OBJECT

public:
    TLabel(QWidget* parent, const QString& name, const QString& caption, const QFont& font,
           const QColor& colour);

    void SetColour(const QColor& colour);

signals:
    void Clicked();
    void Entered();
    void Left();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
};

} // namespace qvs
