#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>

// The number forms the whole program shares: how typed and stored text is read
// as a number, and how amounts are written into captions and boxes.
namespace paycalc {

// The leading-number rule. Blanks, tabs and line feeds anywhere are skipped;
// then an optional sign, digits, at most one point and an optional exponent
// (E or D, optional sign, digits) are read up to the first other character.
// "&H"/"&O" read the following digits as hexadecimal/octal. No digits gives 0;
// a comma ends the number ("12,5" reads 12). Never throws; out-of-range
// exponents saturate instead of failing.
double leadingNumber(QStringView text);

// Whole-number conversion: nearest integer, halves to the even neighbour.
double roundHalfEven(double value);

// The amount's text: plain decimal, at most 15 significant digits, no
// exponent, no thousands separators, no trailing zeros, no point for whole
// numbers, "-" before negatives, "0.5" keeps its leading zero.
QString amountText(double value);

// The caption number form: the amount's digits with a point, one leading
// blank for zero and positive numbers ("-" for negatives), and no leading
// zero between -1 and 1 (" .5", "-.5", " 0", " 1234.56").
QString captionNumber(double value);

// The box normal form: the caption number form without the leading blank of
// a non-negative number ("1500.5", ".5", "0").
QString boxNormalForm(double value);

// Cuts `text` to its first `width` characters, but never inside the integer
// part: if the cut would drop integer digits, the whole integer part (with its
// sign) is kept and only the decimals go.
QString cutKeepingInteger(const QString& text, int width);

// The width-by-magnitude amount caption: prefix + caption number form of the
// amount's text plus one blank cut to 5, 6, 7 or 8 characters + " руб.".
QString amountCaption(double amount, const QString& prefix);

// Fixed-width caption: prefix + caption number form of (amount's text + " ")
// cut to `width` characters (never inside the integer part) + " руб.".
// Used by the other-allowances (6), net-pay and grand-total (7) captions.
QString fixedCaption(double amount, int width, const QString& prefix);

// As fixedCaption, with the cut number rounded to a whole number (halves to
// even) before it is written: the tax and withheld captions (width 6).
QString wholeCaption(double amount, int width, const QString& prefix);

} // namespace paycalc
