#pragma once

#include <array>
#include <cstddef>
#include <QString>
#include <QStringView>

// Fixed-size text builders used by the caption formatting, so that the
// periodic computation can form every caption without touching the heap.
namespace paycalc::detail {

// Longest text ever built: a plain-decimal double (at most about 330
// characters) plus a caption's prefix and unit.
inline constexpr int TextCapacity = 512;

template <typename Ch> class BasicBuffer
{
public:
    void clear() { m_size = 0; }
    int size() const { return m_size; }
    const Ch* data() const { return m_data.data(); }
    Ch* data() { return m_data.data(); }
    Ch operator[](int i) const { return m_data[static_cast<std::size_t>(i)]; }

    void push(Ch c)
    {
        if (m_size < TextCapacity)
            m_data[static_cast<std::size_t>(m_size++)] = c;
    }
    void truncate(int size)
    {
        if (size >= 0 && size < m_size)
            m_size = size;
    }
    void erase(int at)
    {
        if (at < 0 || at >= m_size)
            return;
        for (int i = at; i + 1 < m_size; ++i)
            m_data[static_cast<std::size_t>(i)] = m_data[static_cast<std::size_t>(i + 1)];
        --m_size;
    }

private:
    // Left uninitialised: only the first m_size characters are ever read.
    std::array<Ch, TextCapacity> m_data;
    int m_size = 0;
};

// ASCII digits, sign, point and blanks.
using AsciiBuffer = BasicBuffer<char>;

class TextBuffer : public BasicBuffer<char16_t>
{
public:
    void append(QStringView text)
    {
        for (const QChar c : text)
            push(c.unicode());
    }
    void append(const AsciiBuffer& ascii)
    {
        for (int i = 0; i < ascii.size(); ++i)
            push(static_cast<char16_t>(ascii[i]));
    }
    QStringView view() const { return QStringView(data(), size()); }
    QString toString() const { return view().toString(); }
};

// The amount's text (plain decimal, 15 significant digits).
void amountTextInto(AsciiBuffer& out, double value);
// The caption number form of `value`.
void captionNumberInto(AsciiBuffer& out, double value);

// The captions of numbers.h, built into `out` (cleared first).
void amountCaptionInto(TextBuffer& out, double amount, QStringView prefix);
void fixedCaptionInto(TextBuffer& out, double amount, int width, QStringView prefix);
void wholeCaptionInto(TextBuffer& out, double amount, int width, QStringView prefix);
// Caption number form of the whole amount (no cut), e.g. the food ration.
void plainCaptionInto(TextBuffer& out, double amount, QStringView prefix);

// The unit after every amount caption.
inline constexpr QStringView Roubles = u" руб.";

} // namespace paycalc::detail
