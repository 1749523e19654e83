#include "paycalc/numbers.h"

#include "textbuffer.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace paycalc {

namespace detail {

namespace {

// Reads the leading number of any character sequence (QChar or ASCII), so that
// the captions can read their cut text back without building a QString.
template <typename Ch> class NumberReader
{
public:
    NumberReader(const Ch* text, qsizetype size) : m_text(text), m_size(size) {}

    double read()
    {
        const char16_t first = peek();
        if (first == u'&')
            return readRadix();

        bool negative = false;
        if (first == u'+' || first == u'-') {
            negative = first == u'-';
            advance();
        }

        // Digits are gathered into a plain "123.45e-6" form for std::from_chars,
        // which never looks at the locale.
        std::string digits;
        int integerDigits = 0;   // significant digits before the point
        int leadingFraction = 0; // zeros after the point before the first other digit
        bool any = false;
        bool significant = false;
        while (isDigit(peek())) {
            const char c = static_cast<char>(peek());
            significant = significant || c != '0';
            if (significant)
                ++integerDigits;
            digits.push_back(c);
            any = true;
            advance();
        }
        if (peek() == u'.') {
            advance();
            digits.push_back('.');
            while (isDigit(peek())) {
                const char c = static_cast<char>(peek());
                if (!significant && c == '0')
                    ++leadingFraction;
                significant = significant || c != '0';
                digits.push_back(c);
                any = true;
                advance();
            }
        }
        if (!any)
            return 0.0;

        long long exponent = 0;
        const char16_t e = peek();
        if (e == u'E' || e == u'e' || e == u'D' || e == u'd') {
            advance();
            bool expNegative = false;
            if (peek() == u'+' || peek() == u'-') {
                expNegative = peek() == u'-';
                advance();
            }
            while (isDigit(peek())) {
                // Bounded: anything this large over- or underflows anyway.
                if (exponent < 1'000'000)
                    exponent = exponent * 10 + (peek() - u'0');
                advance();
            }
            if (expNegative)
                exponent = -exponent;
        }
        if (!significant)
            return negative ? -0.0 : 0.0;

        digits.push_back('e');
        digits += std::to_string(exponent);
        double value = 0;
        const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        (void)ptr;
        if (ec == std::errc::result_out_of_range) {
            // Saturate: the magnitude's decimal exponent tells over- from underflow.
            const long long magnitude =
                integerDigits > 0 ? integerDigits + exponent : exponent - leadingFraction;
            value = magnitude > 0 ? std::numeric_limits<double>::max() : 0.0;
        } else if (ec != std::errc()) {
            value = 0.0;
        }
        return negative ? -value : value;
    }

private:
    static bool isBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n'; }
    static bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

    // The next character that is not a blank (0 at the end).
    char16_t peek()
    {
        while (m_pos < m_size && isBlank(charAt(m_pos)))
            ++m_pos;
        return m_pos < m_size ? charAt(m_pos) : char16_t(0);
    }
    void advance() { ++m_pos; }
    char16_t charAt(qsizetype i) const
    {
        if constexpr (std::is_same_v<Ch, QChar>)
            return m_text[i].unicode();
        else
            return static_cast<char16_t>(static_cast<unsigned char>(m_text[i]));
    }

    // "&H1F" and "&O17": hexadecimal and octal whole numbers.
    double readRadix()
    {
        advance();
        const char16_t kind = peek();
        int radix = 0;
        if (kind == u'H' || kind == u'h')
            radix = 16;
        else if (kind == u'O' || kind == u'o')
            radix = 8;
        else
            return 0.0;
        advance();
        double value = 0;
        for (;;) {
            const int digit = digitValue(peek());
            if (digit < 0 || digit >= radix)
                break;
            value = value * radix + digit;
            advance();
        }
        return std::isfinite(value) ? value : std::numeric_limits<double>::max();
    }
    static int digitValue(char16_t c)
    {
        if (c >= u'0' && c <= u'9')
            return c - u'0';
        if (c >= u'a' && c <= u'f')
            return c - u'a' + 10;
        if (c >= u'A' && c <= u'F')
            return c - u'A' + 10;
        return -1;
    }

    const Ch* m_text;
    qsizetype m_size;
    qsizetype m_pos = 0;
};

double readAscii(const AsciiBuffer& text)
{
    return NumberReader<char>(text.data(), text.size()).read();
}

// Cuts to `width` characters unless that would drop digits of the integer part.
void cutKeepingIntegerInPlace(AsciiBuffer& text, int width)
{
    if (text.size() <= width)
        return;
    int integerEnd = 0;
    if (integerEnd < text.size() && text[integerEnd] == '-')
        ++integerEnd;
    while (integerEnd < text.size() && text[integerEnd] >= '0' && text[integerEnd] <= '9')
        ++integerEnd;
    text.truncate(qMax(width, integerEnd));
}

// Turns a cut amount's text ("1234.5", "0.50", "-0.00", "12345 ") into the
// caption number form of the number it reads as. The cut text holds at most 15
// significant digits, so this equals reading it back and writing the result.
void captionFormOfCut(AsciiBuffer& text)
{
    while (text.size() > 0 && text[text.size() - 1] == ' ')
        text.truncate(text.size() - 1);
    bool hasPoint = false;
    for (int i = 0; i < text.size(); ++i)
        hasPoint = hasPoint || text[i] == '.';
    if (hasPoint) {
        while (text.size() > 0 && text[text.size() - 1] == '0')
            text.truncate(text.size() - 1);
        if (text.size() > 0 && text[text.size() - 1] == '.')
            text.truncate(text.size() - 1);
    }
    const bool negative = text.size() > 0 && text[0] == '-';
    const int body = negative ? 1 : 0;
    const bool zero = text.size() == body || (text.size() == body + 1 && text[body] == '0');
    if (zero) {
        text.clear();
        text.push(' ');
        text.push('0');
        return;
    }
    if (text.size() > body + 1 && text[body] == '0' && text[body + 1] == '.')
        text.erase(body);
    if (!negative) {
        text.push(' ');
        for (int i = text.size() - 1; i > 0; --i)
            text.data()[i] = text[i - 1];
        text.data()[0] = ' ';
    }
}

int widthFor(double amount)
{
    const double hundreds = amount / 100;
    int width = 5;
    if (hundreds >= 1)
        width = 6;
    if (hundreds > 9.99)
        width = 7;
    if (hundreds > 99.99)
        width = 8;
    return width;
}

void finishCaption(TextBuffer& out, QStringView prefix, const AsciiBuffer& number)
{
    out.clear();
    out.append(prefix);
    out.append(number);
    out.append(Roubles);
}

} // namespace

void amountTextInto(AsciiBuffer& out, double value)
{
    out.clear();
    if (!std::isfinite(value) || value == 0) {
        out.push('0');
        return;
    }
    // "d.dddddddddddddde+XX": the 15 significant digits and the decimal exponent.
    char sci[40];
    const auto result =
        std::to_chars(sci, sci + sizeof sci, value, std::chars_format::scientific, 14);
    const char* p = sci;
    const char* const end = result.ptr;
    if (*p == '-') {
        out.push('-');
        ++p;
    }
    char digits[15];
    int count = 0;
    for (; p != end && *p != 'e'; ++p) {
        if (*p != '.' && count < 15)
            digits[count++] = *p;
    }
    int exponent = 0;
    if (p != end)
        std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), end, exponent);
    while (count > 1 && digits[count - 1] == '0')
        --count;

    if (exponent >= 0) {
        for (int i = 0; i <= exponent; ++i)
            out.push(i < count ? digits[i] : '0');
        if (count > exponent + 1) {
            out.push('.');
            for (int i = exponent + 1; i < count; ++i)
                out.push(digits[i]);
        }
    } else {
        out.push('0');
        out.push('.');
        for (int i = 1; i < -exponent; ++i)
            out.push('0');
        for (int i = 0; i < count; ++i)
            out.push(digits[i]);
    }
}

void captionNumberInto(AsciiBuffer& out, double value)
{
    amountTextInto(out, value);
    captionFormOfCut(out);
}

void fixedCaptionInto(TextBuffer& out, double amount, int width, QStringView prefix)
{
    AsciiBuffer number;
    amountTextInto(number, amount);
    number.push(' ');
    cutKeepingIntegerInPlace(number, width);
    captionFormOfCut(number);
    finishCaption(out, prefix, number);
}

// The width-by-magnitude caption is the fixed-width one at the amount's width.
void amountCaptionInto(TextBuffer& out, double amount, QStringView prefix)
{
    fixedCaptionInto(out, amount, widthFor(amount), prefix);
}

void wholeCaptionInto(TextBuffer& out, double amount, int width, QStringView prefix)
{
    AsciiBuffer number;
    amountTextInto(number, amount);
    number.push(' ');
    cutKeepingIntegerInPlace(number, width);
    captionNumberInto(number, roundHalfEven(readAscii(number)));
    finishCaption(out, prefix, number);
}

void plainCaptionInto(TextBuffer& out, double amount, QStringView prefix)
{
    AsciiBuffer number;
    captionNumberInto(number, amount);
    finishCaption(out, prefix, number);
}

} // namespace detail

double leadingNumber(QStringView text)
{
    return detail::NumberReader<QChar>(text.data(), text.size()).read();
}

double roundHalfEven(double value)
{
    if (!std::isfinite(value))
        return value;
    const double nearest = std::round(value); // halves away from zero
    if (std::fabs(value - std::trunc(value)) == 0.5)
        return 2.0 * std::round(value / 2.0);
    return nearest;
}

QString amountText(double value)
{
    detail::AsciiBuffer text;
    detail::amountTextInto(text, value);
    return QString::fromLatin1(text.data(), text.size());
}

QString captionNumber(double value)
{
    detail::AsciiBuffer text;
    detail::captionNumberInto(text, value);
    return QString::fromLatin1(text.data(), text.size());
}

QString boxNormalForm(double value)
{
    const QString caption = captionNumber(value);
    return caption.startsWith(u' ') ? caption.mid(1) : caption;
}

QString cutKeepingInteger(const QString& text, int width)
{
    if (text.size() <= width)
        return text;
    qsizetype integerEnd = 0;
    if (text.startsWith(u'-'))
        ++integerEnd;
    while (integerEnd < text.size() && text[integerEnd] >= u'0' && text[integerEnd] <= u'9')
        ++integerEnd;
    return text.left(qMax<qsizetype>(width, integerEnd));
}

QString amountCaption(double amount, const QString& prefix)
{
    detail::TextBuffer out;
    detail::amountCaptionInto(out, amount, prefix);
    return out.toString();
}

QString fixedCaption(double amount, int width, const QString& prefix)
{
    detail::TextBuffer out;
    detail::fixedCaptionInto(out, amount, width, prefix);
    return out.toString();
}

QString wholeCaption(double amount, int width, const QString& prefix)
{
    detail::TextBuffer out;
    detail::wholeCaptionInto(out, amount, width, prefix);
    return out.toString();
}

} // namespace paycalc
