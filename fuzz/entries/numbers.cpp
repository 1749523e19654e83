#include "paycalc/numbers.h"

#include "common.h"
#include "fuzzentries.h"
#include "paycalc/cp1251.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace voldarfuzz {

using detail::shown;

namespace {

const QString Roubles = QStringLiteral(" руб.");

QString number(double value)
{
    return QString::number(value, 'g', 17);
}

// `value` with the 15 significant digits the number forms keep, read back the
// way leadingNumber reads a number too large for a double.
double fifteenDigits(double value)
{
    char text[64];
    const auto written =
        std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, 14);
    double rounded = 0;
    const char* digits = text[0] == '-' ? text + 1 : text;
    if (std::from_chars(digits, written.ptr, rounded).ec == std::errc::result_out_of_range) {
        // The largest values round up past the largest double, the smallest
        // subnormals may round down to nothing.
        const bool tiny =
            std::string_view(digits, written.ptr).find("e-") != std::string_view::npos;
        rounded = tiny ? 0.0 : std::numeric_limits<double>::max();
    }
    return text[0] == '-' ? -rounded : rounded;
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

// The leading number of a plain decimal text, read by std::from_chars after the
// blanks are dropped and D is taken for E. Nothing for "&H"/"&O" texts and for
// numbers out of the double range (those saturate).
std::optional<double> referenceNumber(const QString& text)
{
    std::string plain;
    for (const QChar c : text) {
        if (!isBlank(c))
            plain.push_back(c.unicode() < 0x80 ? char(c.unicode()) : '?');
    }
    std::size_t i = 0;
    const auto digitsAt = [&plain](std::size_t& at) {
        const std::size_t start = at;
        while (at < plain.size() && plain[at] >= '0' && plain[at] <= '9')
            ++at;
        return at - start;
    };
    if (i < plain.size() && plain[i] == '&')
        return std::nullopt;
    if (i < plain.size() && (plain[i] == '+' || plain[i] == '-'))
        ++i;
    std::size_t digits = digitsAt(i);
    if (i < plain.size() && plain[i] == '.') {
        ++i;
        digits += digitsAt(i);
    }
    if (digits == 0)
        return 0.0;
    std::string normal = plain.substr(0, i);
    if (i < plain.size() &&
        (plain[i] == 'E' || plain[i] == 'e' || plain[i] == 'D' || plain[i] == 'd')) {
        std::size_t at = i + 1;
        std::string exponent = "e";
        if (at < plain.size() && (plain[at] == '+' || plain[at] == '-'))
            exponent.push_back(plain[at++]);
        const std::size_t start = at;
        if (digitsAt(at) > 0)
            normal += exponent + plain.substr(start, at - start);
    }
    const bool negative = normal[0] == '-';
    const std::size_t from = normal[0] == '+' || normal[0] == '-' ? 1 : 0;
    double value = 0;
    const auto [end, error] =
        std::from_chars(normal.data() + from, normal.data() + normal.size(), value);
    if (error != std::errc() || end != normal.data() + normal.size())
        return std::nullopt;
    return negative ? -value : value;
}

// The number part of "<prefix><number> руб.".
std::optional<QString> captionBody(const QString& caption, const QString& prefix)
{
    if (!caption.startsWith(prefix) || !caption.endsWith(Roubles))
        return std::nullopt;
    return caption.mid(prefix.size(), caption.size() - prefix.size() - Roubles.size());
}

// The caption number form: a blank or "-", no exponent, no trailing zeros after
// the point, no point at the end and no zero before the point of a fraction.
void checkCaptionForm(const QString& text, const QString& what)
{
    bool ok = text.size() >= 2 && (text[0] == u' ' || text[0] == u'-');
    for (qsizetype i = 1; ok && i < text.size(); ++i)
        ok = text[i].isDigit() || text[i] == u'.';
    ok = ok && text.count(u'.') <= 1;
    if (ok && text.contains(u'.'))
        ok = !text.endsWith(u'0') && !text.endsWith(u'.');
    ok = ok && !text.mid(1).startsWith(u"0.");
    ok = ok && (text.size() == 2 || text[1] != u'0');
    FUZZ_EXPECT(ok, what + QStringLiteral(" is not in the caption number form: ") + shown(text));
}

void checkRounding(double x)
{
    const double r = paycalc::roundHalfEven(x);
    if (!std::isfinite(x))
        return;
    const double distance = std::fabs(r - x);
    bool ok = r == std::trunc(r) && distance <= 0.5;
    if (ok && distance == 0.5)
        ok = std::fmod(r, 2.0) == 0;
    FUZZ_EXPECT(ok, QStringLiteral("roundHalfEven(%1) gives %2").arg(number(x), number(r)));
}

// Every number form written for `x` must read back as `x` cut to 15 digits.
void checkForms(double x)
{
    const QString amount = paycalc::amountText(x);
    const QString caption = paycalc::captionNumber(x);
    const QString box = paycalc::boxNormalForm(x);
    const QString prefix = QStringLiteral("   ");
    const QString amountCap = paycalc::amountCaption(x, prefix);
    checkRounding(x);
    for (int width = 0; width <= 9; width += 3) {
        const QString fixed = paycalc::fixedCaption(x, width, prefix);
        const QString whole = paycalc::wholeCaption(x, width, prefix);
        if (!std::isfinite(x))
            continue;
        const double y = fifteenDigits(x);
        const std::optional<QString> fixedBody = captionBody(fixed, prefix);
        const std::optional<QString> wholeBody = captionBody(whole, prefix);
        FUZZ_EXPECT(fixedBody && wholeBody,
                    QStringLiteral("fixed/whole caption without prefix or unit for ") + number(x));
        if (!fixedBody || !wholeBody)
            continue;
        checkCaptionForm(*fixedBody,
                         QStringLiteral("fixedCaption(%1, %2)").arg(number(x)).arg(width));
        checkCaptionForm(*wholeBody,
                         QStringLiteral("wholeCaption(%1, %2)").arg(number(x)).arg(width));
        const double cut = paycalc::leadingNumber(*fixedBody);
        FUZZ_EXPECT(std::trunc(cut) == std::trunc(y),
                    QStringLiteral("fixedCaption(%1, %2) loses integer digits: %3")
                        .arg(number(x))
                        .arg(width)
                        .arg(shown(fixed)));
        const double rounded = paycalc::leadingNumber(*wholeBody);
        FUZZ_EXPECT(rounded == std::trunc(rounded) &&
                        (std::fabs(y) >= 1e15 || std::fabs(rounded - y) <= 1),
                    QStringLiteral("wholeCaption(%1, %2) gives %3")
                        .arg(number(x))
                        .arg(width)
                        .arg(shown(whole)));
    }
    if (!std::isfinite(x))
        return;

    const double y = fifteenDigits(x);
    for (const auto& [form, text] :
         {std::pair{u"amountText", amount}, std::pair{u"captionNumber", caption},
          std::pair{u"boxNormalForm", box}}) {
        const double back = paycalc::leadingNumber(text);
        FUZZ_EXPECT(back == y,
                    QStringLiteral("leadingNumber(%1(%2)) gives %3, not %4")
                        .arg(QString::fromUtf16(form), number(x), number(back), number(y)));
    }
    checkCaptionForm(caption, QStringLiteral("captionNumber(%1)").arg(number(x)));
    FUZZ_EXPECT(caption[0] == (y < 0 ? u'-' : u' '),
                QStringLiteral("captionNumber(%1) starts with the wrong sign").arg(number(x)));
    FUZZ_EXPECT(box == (caption.startsWith(u' ') ? caption.mid(1) : caption),
                QStringLiteral("boxNormalForm(%1) is not the caption form without its blank")
                    .arg(number(x)));

    const std::optional<QString> body = captionBody(amountCap, prefix);
    FUZZ_EXPECT(body.has_value(),
                QStringLiteral("amountCaption(%1) without prefix or unit").arg(number(x)));
    if (body) {
        checkCaptionForm(*body, QStringLiteral("amountCaption(%1)").arg(number(x)));
        const double cut = paycalc::leadingNumber(*body);
        FUZZ_EXPECT(std::trunc(cut) == std::trunc(y),
                    QStringLiteral("amountCaption(%1) loses integer digits: %2")
                        .arg(number(x), shown(amountCap)));
    }
}

void checkText(const QString& text, int width)
{
    const double x = paycalc::leadingNumber(text);
    FUZZ_EXPECT(std::isfinite(x),
                QStringLiteral("leadingNumber(%1) is not finite").arg(shown(text)));

    QString withoutBlanks = text;
    withoutBlanks.removeIf(isBlank);
    const double stripped = paycalc::leadingNumber(withoutBlanks);
    FUZZ_EXPECT(stripped == x,
                QStringLiteral("leadingNumber(%1) is %2 with its blanks and %3 without")
                    .arg(shown(text), number(x), number(stripped)));
    const double comma = paycalc::leadingNumber(QString(text + u",5"));
    FUZZ_EXPECT(comma == x,
                QStringLiteral("leadingNumber(%1) changes when \",5\" follows").arg(shown(text)));

    const std::optional<double> reference = referenceNumber(text);
    if (reference && std::isfinite(*reference) &&
        std::fabs(*reference) < std::numeric_limits<double>::max())
        FUZZ_EXPECT(x == *reference, QStringLiteral("leadingNumber(%1) gives %2, from_chars %3")
                                         .arg(shown(text), number(x), number(*reference)));

    checkForms(x);

    const QString cut = paycalc::cutKeepingInteger(text, width);
    FUZZ_EXPECT(text.startsWith(cut) && cut.size() >= std::min<qsizetype>(width, text.size()),
                QStringLiteral("cutKeepingInteger(%1, %2) gives %3")
                    .arg(shown(text))
                    .arg(width)
                    .arg(shown(cut)));
}

} // namespace

int numbers(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = detail::bytesOf(data, size);
    const int width = size > 0 ? data[0] % 12 : 0;
    checkText(paycalc::cp1251::decode(bytes), width);
    checkText(QString::fromUtf8(bytes), width);
    // The first eight bytes as a double of any kind: NaN, infinities,
    // subnormals, the largest values.
    if (size >= sizeof(double)) {
        double x = 0;
        std::memcpy(&x, data, sizeof x);
        checkForms(x);
    }
    return 0;
}

} // namespace voldarfuzz
