// A picture control: draws its picture at its top-left corner, unscaled and
// clipped to its size. Without a picture it is an invisible click area.
#pragma once

#include <QPixmap>
#include <QWidget>

namespace qvs {

class TImage : public QWidget {
    Q_OBJECT

public:
    TImage(QWidget* parent, const QString& name, const QRect& bounds, int tag = 0);

    void SetPicture(const QPixmap& picture);
    const QPixmap& Picture() const { return picture_; }
    int Tag() const { return tag_; }

signals:
    void Clicked();
    void MouseMoved();
    void Entered();
    void Left();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QPixmap picture_;
    int tag_;
};

} // namespace qvs
