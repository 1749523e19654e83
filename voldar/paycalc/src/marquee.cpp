#include "paycalc/marquee.h"

#include "paycalc/numbers.h"

#include <algorithm>

namespace paycalc {

void Marquee::setText(const QString& text, int blanks)
{
    m_text = QString(qMax(blanks, 0), u' ') + text;
    m_position = 0;
}

QString Marquee::tick()
{
    if (m_position >= m_text.size())
        m_position = 1;
    else
        ++m_position;
    return m_text.mid(m_position - 1);
}

int Marquee::blanksFor(double boxWidth, double blankWidth, int adjust)
{
    // Widths are bounded before they become integers: a nonsense width must
    // not overflow the conversion.
    const auto whole = [](double width) {
        return width > 0 && width < 1e9 ? static_cast<long long>(roundHalfEven(width)) : 0LL;
    };
    const long long box = whole(boxWidth);
    const long long blank = whole(blankWidth);
    // A font without a measurable blank fills nothing rather than dividing by 0.
    const long long fill = blank > 0 ? box / blank : 0;
    return static_cast<int>(std::clamp(fill + adjust, -1'000'000LL, 1'000'000LL));
}

} // namespace paycalc
