// A transparent text label that reports clicks and the pointer entering and
// leaving it. A label placed by its top-left corner only sizes itself to its
// caption, again at every SetCaption, so a longer caption ("13" after "1")
// is never clipped.
#pragma once

#include <QLabel>

namespace qvs {

class TLabel : public QLabel {
    Q_OBJECT

public:
    TLabel(QWidget* parent, const QString& name, const QString& caption, const QFont& font,
           const QColor& colour);

    void SetColour(const QColor& colour);
    // Sizes the label to its caption now and whenever SetCaption changes it.
    void SetAutoSize();
    void SetCaption(const QString& caption);

signals:
    void Clicked();
    void Entered();
    void Left();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool autoSize_ = false;
};

} // namespace qvs
