#include "mainwindow/tickerbox.h"

#include <algorithm>
#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextLine>
#include <QTextOption>

namespace {

// The margins a line edit keeps between its frame and its text.
constexpr int HorizontalMargin = 2;
constexpr int VerticalMargin = 1;

} // namespace

TickerBox::TickerBox(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFocusPolicy(Qt::NoFocus);
    setBackgroundRole(QPalette::Base);
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
    const QString& laidOut = m_layout.text();
    const qsizetype start = laidOut.size() - text.size();
    if (start < 0 || QStringView(laidOut).mid(start) != text) {
        layOut(text);
    } else if (start != m_start) {
        m_start = start;
        m_offset = m_layout.lineAt(0).cursorToX(static_cast<int>(start));
    } else {
        return;
    }
    update();
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
    m_panel.fill(Qt::transparent);
    QPainter painter(&m_panel);
    QStyleOptionFrame option;
    initStyleOption(&option);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
    m_textArea = textRect();
}

void TickerBox::paintEvent(QPaintEvent*)
{
    prepareLook();
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_panel);

    const QRect& area = m_textArea;
    const QTextLine line = m_layout.lineAt(0);
    painter.setClipRect(area);
    painter.setPen(palette().color(QPalette::Text));
    const qreal top = area.top() + (area.height() - line.height()) / 2;
    m_layout.draw(&painter, QPointF(area.left() - m_offset, top));
}

// A new font needs a new layout; a new look (palette, style, enabled state)
// a new panel.
void TickerBox::changeEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::FontChange: {
        const QString shown = text();
        layOut(m_layout.text());
        setText(shown);
        m_panel = QPixmap();
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
