#pragma once

#include <QLabel>

// The inner picture box of the control. Like any picture box it reports mouse
// moves over itself in twips; that is also how the notification area's
// callbacks reach the control.
class PictureBox final : public QLabel
{
    Q_OBJECT

public:
    explicit PictureBox(QWidget* parent);

    // Twips (1/1440 inch) per pixel of the screen the box is on, horizontally.
    double twipsPerPixelX() const;

signals:
    void mouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, double xTwips,
                    double yTwips);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
};
