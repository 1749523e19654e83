#pragma once

// Shared by the pay-history tests: slips of two years written the way the
// program writes them, one cut short, one empty, and files that are no slips.

#include "paycalc/cp1251.h"
#include "payslip/payslipfile.h"
#include "testfolder.h"

#include <QDir>

namespace payslip::test {

// A slip whose totals are the given captions; the other fields hold a
// caption of their own so that a field read from the wrong line shows.
inline QStringList slipLines(const QString& accrued, const QString& tax, const QString& other,
                             const QString& withheld, const QString& net)
{
    PaySlipValues values;
    for (int field = 0; field < PaySlipFieldCount; ++field)
        values[field] = QString::number(900 + field) + u" руб.";
    values[14] = accrued; // line 18
    values[15] = tax;     // line 20
    values[16] = other;   // line 21
    values[17] = withheld;
    values[18] = net; // line 25
    return paySlipLines(values);
}

inline void writeSlip(const QString& lists, const QString& name, const QStringList& lines)
{
    QVERIFY(writeBytes(lists + u'/' + name, paycalc::cp1251::encodeLines(lines)));
}

// January to March and November 2008 read whole (March with an empty
// other-deductions line), May 2008 cut short after ten lines, June 2008
// empty, August 2008 with no amount in its accrued and net-pay lines, January
// and February 2009; two foreign files, a hidden file and a folder.
inline void writeTwoYears(const QString& lists)
{
    using namespace Qt::StringLiterals;
    writeSlip(
        lists, u"Январь 2008.txt"_s,
        slipLines(u"30000 руб."_s, u"3900 руб."_s, u"0 руб."_s, u"3900 руб."_s, u"26100 руб."_s));
    writeSlip(lists, u"Февраль 2008.txt"_s,
              slipLines(u"30500.5 руб."_s, u"3965 руб."_s, u"100.25 руб."_s, u"4065.25 руб."_s,
                        u"26435.25 руб."_s));
    writeSlip(
        lists, u"Март 2008.txt"_s,
        slipLines(u"31000 руб."_s, u"4030 руб."_s, QString(), u"4030 руб."_s, u"26970 руб."_s));
    writeSlip(
        lists, u"Май 2008.txt"_s,
        slipLines(u"1 руб."_s, u"1 руб."_s, u"1 руб."_s, u"1 руб."_s, u"1 руб."_s).mid(0, 10));
    QVERIFY(writeBytes(lists + u"/Июнь 2008.txt"_s, QByteArray()));
    writeSlip(
        lists, u"Август 2008.txt"_s,
        slipLines(u"Подождите..."_s, u"4000 руб."_s, u"0 руб."_s, u"4000 руб."_s, u"1e999 руб."_s));
    writeSlip(lists, u"Ноябрь 2008.txt"_s,
              slipLines(u"45000.75 руб."_s, u"5850 руб."_s, u".5 руб."_s, u"5850.5 руб."_s,
                        u"39150.25 руб."_s));
    writeSlip(
        lists, u"Январь 2009.txt"_s,
        slipLines(u"32000 руб."_s, u"4160 руб."_s, u"0 руб."_s, u"4160 руб."_s, u"27840 руб."_s));
    writeSlip(lists, u"Февраль 2009.txt"_s,
              slipLines(u"32000 руб."_s, u"4160 руб."_s, u"1000 руб."_s, u"5160 руб."_s,
                        u"26840 руб."_s));
    QVERIFY(writeBytes(lists + u"/Заметки.txt"_s, "notes"));
    QVERIFY(writeBytes(lists + u"/Март 08.txt"_s, "old"));
    QVERIFY(writeBytes(lists + u"/.keep"_s, QByteArray()));
    QVERIFY(QDir(lists).mkpath(u"Архив 2007.txt"_s));
}

} // namespace payslip::test
