#pragma once

#include <QWidget>

// A window onto one child widget, the calculation area of the main window. The
// area always gets its full height (and at least its minimum width) and keeps
// whatever vertical position it was moved to: it can be moved out of sight in
// either direction, and the viewport clips what lies outside it.
class ClipViewport : public QWidget
{
    Q_OBJECT

public:
    explicit ClipViewport(QWidget* parent = nullptr);

    // The area's preferred size, so that a window opens showing all of it.
    QSize sizeHint() const override;
    // A few lines and columns: a window smaller than the area shows part of it.
    QSize minimumSizeHint() const override;

    // Gives the area its size for the viewport's current width, keeping its
    // position. Called on resizes and layout changes, and by the window when
    // it needs the geometry settled before it is first shown.
    void placeArea();

protected:
    void childEvent(QChildEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* area() const;
};
