#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>
#include <QTextLayout>
#include <QWidget>

class QStyleOptionFrame;

// The ticker's one-line, read-only text box. It looks like a read-only line
// edit and shows whatever text it is given, starting at its left edge.
//
// A ticker gives it the same text with one more character cut from the start
// on every tick. The box lays a text out and draws it once, and shows a text
// that is the tail of that one by moving the drawing to the left, so a tick
// costs copying one strip of pixels instead of laying out and drawing text.
// While its window is minimized or hidden a tick only moves the layout: the
// box is repainted, with the text it was given last, when it is shown again.
class TickerBox : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)

public:
    explicit TickerBox(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool follow(const QString& text);
    void layOut(const QString& text);
    void initStyleOption(QStyleOptionFrame* option) const;
    QRect textRect() const;
    void prepareLook();
    void prepareStrip(const QColor& colour);
    void repaintWhenSeen();

    QTextLayout m_layout;
    qsizetype m_start = 0;      // first character of the laid-out text shown
    qreal m_offset = 0;         // its distance from the layout's left edge
    QPixmap m_panel;            // the box without text, drawn once per size and look
    QRect m_textArea;           // where the text goes, with the panel
    QColor m_ground;            // the panel's colour there
    QPixmap m_strip;            // the laid-out text, drawn once
    QColor m_stripColour;       // the colour it was drawn in
    QColor m_stripGround;       // and the ground it was drawn on
    bool m_repaintOwed = false; // the text changed while nobody could see it
};
