#pragma once

#include <QPixmap>
#include <QString>
#include <QTextLayout>
#include <QWidget>

class QStyleOptionFrame;

// The ticker's one-line, read-only text box. It looks like a read-only line
// edit and shows whatever text it is given, starting at its left edge.
//
// A ticker gives it the same text with one more character cut from the start
// on every tick. The box lays a text out once and shows a text that is the
// tail of the one laid out by moving that layout to the left, so a tick costs
// a small repaint instead of a new text layout and a full line-edit paint.
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

private:
    void layOut(const QString& text);
    void initStyleOption(QStyleOptionFrame* option) const;
    QRect textRect() const;
    void prepareLook();

    QTextLayout m_layout;
    qsizetype m_start = 0; // first character of the laid-out text shown
    qreal m_offset = 0;    // its distance from the layout's left edge
    QPixmap m_panel;       // the box without text, drawn once per size and look
    QRect m_textArea;      // where the text goes, with the panel
};
