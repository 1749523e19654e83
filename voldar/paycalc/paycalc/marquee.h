#pragma once

#include <QString>

namespace paycalc {

// A line of text that moves one character to the left per tick and starts over
// after its last character has been shown alone. Used by the main window's
// ticker and the side windows' marquees.
class Marquee
{
public:
    Marquee() = default;

    // `blanks` blanks followed by `text` (a negative count gives none).
    void setText(const QString& text, int blanks);
    const QString& text() const { return m_text; }

    // Advances the position (1-based; wraps to 1 after the last character) and
    // returns the text from that position to its end.
    QString tick();

    int position() const { return m_position; }

    // The number of blanks that fill a box: box width / blank width (both
    // rounded to whole numbers, integer division), plus `adjust`.
    static int blanksFor(double boxWidth, double blankWidth, int adjust);

private:
    QString m_text;
    int m_position = 0;
};

} // namespace paycalc
