#include "mainwindow/tickerbox.h"

#include <algorithm>
#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextLine>
#include <QTextOption>
#include <utility>

namespace {

// The margins a line edit keeps between its frame and its text.
constexpr int HorizontalMargin = 2;
constexpr int VerticalMargin = 1;
// Room around the text drawn once, for glyphs that reach beyond their advance.
constexpr int StripMargin = 2;

} // namespace

TickerBox::TickerBox(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFocusPolicy(Qt::NoFocus);
    setBackgroundRole(QPalette::Base);
    // The box paints every one of its pixels (see prepareLook), so a tick
    // repaints the box alone, not the window behind it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Keep the shaped text after laying it out: every tick asks for a position in it.
    m_layout.setCacheEnabled(true);
    layOut(QString());
}

QString TickerBox::text() const
{
    return m_layout.text().mid(m_start);
}

void TickerBox::setText(const QString& text)
{
    if (follow(text))
        repaintWhenSeen();
}

// Shows `text`: moves the drawing where it is a tail of the laid-out text, else
// lays it out. False when it is the text shown already.
bool TickerBox::follow(const QString& text)
{
    const QString& laidOut = m_layout.text();
    const qsizetype start = laidOut.size() - text.size();
    if (start < 0 || QStringView(laidOut).mid(start) != text) {
        layOut(text);
    } else if (start != m_start) {
        m_start = start;
        m_offset = m_layout.lineAt(0).cursorToX(static_cast<int>(start));
    } else {
        return false;
    }
    return true;
}

// A tick repaints the text area at once: a ticker is an animation, and painting
// in the tick's own wake-up spares a posted update request and another turn of
// the event loop. A minimized window's box is not on screen: the repaint waits
// for the show event that restoring the window sends. (A hidden box is
// repainted when it is shown anyway.)
void TickerBox::repaintWhenSeen()
{
    if (isVisible() && !window()->isMinimized())
        repaint(m_textArea.isNull() ? rect() : m_textArea);
    else
        m_repaintOwed = true;
}

void TickerBox::layOut(const QString& text)
{
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    m_layout.setText(text);
    m_layout.setFont(font());
    m_layout.setTextOption(option);
    m_layout.beginLayout();
    m_layout.createLine();
    m_layout.endLayout();
    m_start = 0;
    m_offset = 0;
    m_strip = QPixmap();
}

void TickerBox::initStyleOption(QStyleOptionFrame* option) const
{
    option->initFrom(this);
    option->rect = contentsRect();
    option->lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, option, this);
    option->midLineWidth = 0;
    option->state |= QStyle::State_Sunken | QStyle::State_ReadOnly;
    option->features = QStyleOptionFrame::None;
}

// Where the text goes: inside the frame, less the line edit's margins.
QRect TickerBox::textRect() const
{
    QStyleOptionFrame option;
    initStyleOption(&option);
    return style()
        ->subElementRect(QStyle::SE_LineEditContents, &option, this)
        .adjusted(HorizontalMargin, VerticalMargin, -HorizontalMargin, -VerticalMargin);
}

QSize TickerBox::sizeHint() const
{
    ensurePolished();
    const QFontMetrics metrics(font());
    const QSize content(metrics.horizontalAdvance(QLatin1Char('x')) * 17 + 2 * HorizontalMargin,
                        std::max(metrics.height(), 14) + 2 * VerticalMargin);
    QStyleOptionFrame option;
    initStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_LineEdit, &option, content, this);
}

QSize TickerBox::minimumSizeHint() const
{
    const QSize hint = sizeHint();
    return {std::min(hint.width(), hint.height() * 2), hint.height()};
}

// The panel and the text area, worked out again after a change of size or look.
void TickerBox::prepareLook()
{
    const qreal ratio = devicePixelRatioF();
    if (!m_panel.isNull() && m_panel.size() == size() * ratio)
        return;
    m_panel = QPixmap(size() * ratio);
    m_panel.setDevicePixelRatio(ratio);
    // Where the frame leaves its corners free, the window shows through.
    m_panel.fill(palette().color(QPalette::Window));
    QPainter painter(&m_panel);
    QStyleOptionFrame option;
    initStyleOption(&option);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
    painter.end();
    m_textArea = textRect();
    m_ground = m_panel.toImage().pixelColor(m_textArea.center() * ratio);
}

// The laid-out text drawn once, in the text colour on the panel's own ground,
// so that showing it is a plain copy of pixels rather than a blend: a tick
// shows another part of it. Drawn again for a new text, font, colour, ground or
// pixel ratio.
void TickerBox::prepareStrip(const QColor& colour)
{
    const qreal ratio = devicePixelRatioF();
    if (!m_strip.isNull() && m_stripColour == colour && m_stripGround == m_ground &&
        m_strip.devicePixelRatio() == ratio)
        return;
    const QTextLine line = m_layout.lineAt(0);
    const QSizeF size(line.naturalTextWidth() + 2 * StripMargin, line.height());
    m_strip = QPixmap((size * ratio).toSize() + QSize(1, 1));
    m_strip.setDevicePixelRatio(ratio);
    m_strip.fill(m_ground);
    m_stripColour = colour;
    m_stripGround = m_ground;
    QPainter painter(&m_strip);
    painter.setPen(colour);
    m_layout.draw(&painter, QPointF(StripMargin, 0));
}

void TickerBox::paintEvent(QPaintEvent*)
{
    prepareLook();
    prepareStrip(palette().color(QPalette::Text));
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_panel);

    const QRect& area = m_textArea;
    const qreal top = area.top() + (area.height() - m_layout.lineAt(0).height()) / 2;
    painter.setClipRect(area);
    painter.drawPixmap(QPoint(area.left() - StripMargin - qRound(m_offset), qRound(top)), m_strip);
}

// A new font needs a new layout; a new look (palette, style, enabled state)
// a new panel.
void TickerBox::changeEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::FontChange: {
        const QString shown = text();
        layOut(m_layout.text());
        follow(shown);
        m_panel = QPixmap();
        update();
        break;
    }
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
    case QEvent::EnabledChange:
        m_panel = QPixmap();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

void TickerBox::resizeEvent(QResizeEvent* event)
{
    m_panel = QPixmap();
    QWidget::resizeEvent(event);
}

void TickerBox::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (std::exchange(m_repaintOwed, false))
        update();
}
