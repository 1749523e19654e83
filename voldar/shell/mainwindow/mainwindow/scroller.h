#pragma once

#include <QObject>
#include <QPointer>

class QAbstractButton;
class QAction;
class QTimer;
class QWidget;

// The scroll buttons of the main window. Command5 moves the calculation area
// down, Command6 up, by 100 twips a click; holding a button down repeats the
// click on every tick of its timer (Timer7 for Command5, Timer8 for Command6).
// There is no limit: the area can leave the view in either direction. The
// menu entry "Прокрутка" (scroll) enables and disables both buttons; the area
// keeps its offset meanwhile.
class Scroller : public QObject
{
    Q_OBJECT

public:
    static constexpr int StepTwips = 100;

    struct Controls
    {
        QWidget* area;
        QAbstractButton* command5;
        QAbstractButton* command6;
        QTimer* timer7;
        QTimer* timer8;
        QAction* scroll;
    };

    explicit Scroller(const Controls& controls, QObject* parent = nullptr);

    // How far the area has been moved from its place, in twips (down > 0).
    int offsetTwips() const { return m_offsetTwips; }

private:
    void onCommand5Clicked();
    void onCommand6Clicked();
    void onCommand5Pressed();
    void onCommand5Released();
    void onCommand6Pressed();
    void onCommand6Released();
    void onTimer7Timeout();
    void onTimer8Timeout();
    void onScrollTriggered(bool checked);

    // One click of a scroll button: step × direction.
    void scroll(int direction);

    Controls m_controls;
    int m_step = StepTwips;
    int m_direction = 1;
    int m_offsetTwips = 0;
};
