#include "tools/servicelength.h"

#include <cmath>
#include <QTest>

using tools::Coefficient;
using tools::Length;
using tools::Period;

Q_DECLARE_METATYPE(tools::Coefficient)
Q_DECLARE_METATYPE(tools::Length)
Q_DECLARE_METATYPE(tools::Period)

namespace QTest {
template <> char* toString(const Length& length)
{
    const QByteArray text = QByteArray::number(length.years) + '/' +
                            QByteArray::number(length.months) + '/' +
                            QByteArray::number(length.days);
    return qstrdup(text.constData());
}
} // namespace QTest

namespace {

// The normalized form of a number of 30/360 days.
Length decompose(double totalDays)
{
    const double years = std::floor(totalDays / 360);
    const double months = std::floor((totalDays - 360 * years) / 30);
    return {years, months, totalDays - 360 * years - 30 * months};
}

double factor(Coefficient k)
{
    switch (k) {
    case Coefficient::One:
        return 1;
    case Coefficient::OneAndHalf:
        return 1.5;
    case Coefficient::Two:
        return 2;
    case Coefficient::Three:
        break;
    }
    return 3;
}

tools::DateTexts texts(const char* y1, const char* m1, const char* d1, const char* y2,
                       const char* m2, const char* d2)
{
    return {QString::fromUtf8(y1), QString::fromUtf8(m1), QString::fromUtf8(d1),
            QString::fromUtf8(y2), QString::fromUtf8(m2), QString::fromUtf8(d2)};
}

} // namespace

class TestServiceLength : public QObject
{
    Q_OBJECT

private slots:
    void workedExamples_data();
    void workedExamples();
    void resultsMatchDayCounts();
    void rowsOfResult();
    void totalsCarry_data();
    void totalsCarry();
    void boxTexts();
    void checkOrderAndMessages_data();
    void checkOrderAndMessages();
    void passingValuesRewritten();
};

void TestServiceLength::workedExamples_data()
{
    QTest::addColumn<Period>("period");
    QTest::addColumn<Coefficient>("k");
    QTest::addColumn<Length>("service");
    QTest::addColumn<Length>("calendar");

    QTest::newRow("one year at 3") << Period{2000, 1, 1, 2001, 1, 1} << Coefficient::Three
                                   << Length{3, 0, 0} << Length{1, 0, 0};
    QTest::newRow("30 days at 3") << Period{2000, 3, 1, 2000, 3, 31} << Coefficient::Three
                                  << Length{0, 3, 0} << Length{0, 1, 0};
    QTest::newRow("25 days at 1.5, half day up")
        << Period{2000, 3, 15, 2000, 4, 10} << Coefficient::OneAndHalf << Length{0, 1, 8}
        << Length{0, 0, 25};
    QTest::newRow("15 months at 1.5") << Period{1999, 10, 1, 2001, 1, 1} << Coefficient::OneAndHalf
                                      << Length{1, 10, 15} << Length{1, 3, 0};
    QTest::newRow("21 years at 1.5") << Period{1980, 1, 1, 2001, 1, 1} << Coefficient::OneAndHalf
                                     << Length{31, 6, 0} << Length{21, 0, 0};
    QTest::newRow("end before start") << Period{2005, 6, 15, 2005, 6, 10} << Coefficient::One
                                      << Length{-1, 11, 25} << Length{-1, 11, 25};
    QTest::newRow("equal months at 2") << Period{2000, 5, 10, 2003, 5, 20} << Coefficient::Two
                                       << Length{6, 0, 20} << Length{3, 0, 10};
    QTest::newRow("31st back to 1st") << Period{2000, 1, 1, 2000, 12, 31} << Coefficient::One
                                      << Length{1, 0, 0} << Length{1, 0, 0};
}

void TestServiceLength::workedExamples()
{
    QFETCH(Period, period);
    QFETCH(Coefficient, k);
    QFETCH(Length, service);
    QFETCH(Length, calendar);
    QCOMPARE(tools::preferentialLength(period, k), service);
    QCOMPARE(tools::calendarLength(period), calendar);
}

// Every period at every coefficient: the step-by-step result is the normalized
// form of k·(360·dY + 30·dM) + r days (r = k·dD, or dD·1.5 rounded up), and
// the calendar length that of 360·dY + 30·dM + dD days.
void TestServiceLength::resultsMatchDayCounts()
{
    const std::array<Coefficient, 4> all{Coefficient::One, Coefficient::OneAndHalf,
                                         Coefficient::Two, Coefficient::Three};
    int checked = 0;
    for (int dY = -2; dY <= 3; ++dY) {
        for (int m1 = 1; m1 <= 12; ++m1) {
            for (int m2 = 1; m2 <= 12; ++m2) {
                for (int d1 = 1; d1 <= 31; ++d1) {
                    for (int d2 = 1; d2 <= 31; ++d2) {
                        const Period p{1990,        double(m1), double(d1),
                                       1990.0 + dY, double(m2), double(d2)};
                        const double dM = m2 - m1;
                        const double dD = d2 - d1;
                        const Length calendar = tools::calendarLength(p);
                        const QByteArray where =
                            QByteArray::number(dY) + ' ' + QByteArray::number(m1) + '-' +
                            QByteArray::number(d1) + " to " + QByteArray::number(m2) + '-' +
                            QByteArray::number(d2);
                        if (!(calendar == decompose(360 * dY + 30 * dM + dD)))
                            QFAIL(QByteArray(where + " calendar " + QTest::toString(calendar))
                                      .constData());
                        for (Coefficient k : all) {
                            const double f = factor(k);
                            const double r =
                                k == Coefficient::OneAndHalf ? std::ceil(1.5 * dD) : f * dD;
                            const Length expected = decompose(f * (360 * dY + 30 * dM) + r);
                            const Length actual = tools::preferentialLength(p, k);
                            if (!(actual == expected)) {
                                const QByteArray failure = where + " k " + QByteArray::number(f) +
                                                           ": " + QTest::toString(actual) +
                                                           " expected " + QTest::toString(expected);
                                QFAIL(failure.constData());
                            }
                            ++checked;
                        }
                    }
                }
            }
        }
    }
    QVERIFY(checked > 3'000'000);
}

void TestServiceLength::rowsOfResult()
{
    const tools::PeriodResult result =
        tools::computePeriod({2000, 1, 1, 2001, 1, 1}, Coefficient::Three);
    QCOMPARE(result.service, (Length{3, 0, 0}));
    QCOMPARE(result.calendar, (Length{1, 0, 0}));
    QCOMPARE(result.rows[std::size_t(Coefficient::Three)], result.service);
    for (Coefficient other : {Coefficient::One, Coefficient::OneAndHalf, Coefficient::Two})
        QCOMPARE(result.rows[std::size_t(other)], Length{});
}

void TestServiceLength::totalsCarry_data()
{
    QTest::addColumn<Length>("total");
    QTest::addColumn<Length>("add");
    QTest::addColumn<Length>("expected");

    QTest::newRow("days and months carry")
        << Length{0, 11, 20} << Length{0, 1, 15} << Length{1, 1, 5};
    QTest::newRow("both carries at their largest")
        << Length{2, 11, 29} << Length{0, 11, 29} << Length{3, 11, 28};
    QTest::newRow("no carry") << Length{1, 2, 3} << Length{4, 5, 6} << Length{5, 7, 9};
    QTest::newRow("negative added unchanged")
        << Length{0, 0, 0} << Length{-1, 11, 25} << Length{-1, 11, 25};
}

void TestServiceLength::totalsCarry()
{
    QFETCH(Length, total);
    QFETCH(Length, add);
    QFETCH(Length, expected);
    QCOMPARE(tools::addToTotal(total, add), expected);
}

void TestServiceLength::boxTexts()
{
    const auto shown = tools::lengthTexts({-1, 11, 0});
    QCOMPARE(shown[0], QStringLiteral("-1"));
    QCOMPARE(shown[1], QStringLiteral(" 11"));
    QCOMPARE(shown[2], QStringLiteral(" 0"));
    QCOMPARE(tools::readLength(shown[0], shown[1], shown[2]), (Length{-1, 11, 0}));
}

void TestServiceLength::checkOrderAndMessages_data()
{
    QTest::addColumn<tools::DateTexts>("boxes");
    QTest::addColumn<int>("failingBox");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QString>("firstLine");
    QTest::addColumn<int>("rewritten");

    const QString longLivers = QStringLiteral(" Да здравствуют долгожители!!!");
    const QString timeMachine = QStringLiteral(" Поделитесь машиной времени!!!");
    const QString month = QStringLiteral(" Введите месяц с 1 по 12 ");
    const QString day = QStringLiteral(" Введите день с 1 по 31 ");

    QTest::newRow("all empty") << texts("", "", "", "", "", "") << 0 << QStringLiteral(" 1901")
                               << longLivers << 0;
    QTest::newRow("year 1900") << texts("1900", "1", "1", "2000", "1", "1") << 0
                               << QStringLiteral(" 1901") << longLivers << 0;
    // The current year is 2024 in these rows: up to 2038 is accepted.
    QTest::newRow("start year 15 years ahead") << texts("2039", "1", "1", "2000", "1", "1") << 0
                                               << QStringLiteral(" 2024") << timeMachine << 0;
    QTest::newRow("end year tested second") << texts("2000", "0", "0", "3000", "0", "0") << 3
                                            << QStringLiteral(" 2024") << timeMachine << 1;
    QTest::newRow("end month 0 before any day")
        << texts("2000", "5", "0", "2001", "0", "0") << 4 << QStringLiteral(" 1") << month << 3;
    QTest::newRow("start month 13")
        << texts("2000", "13", "1", "2001", "1", "1") << 1 << QStringLiteral(" 12") << month << 2;
    QTest::newRow("start day 0") << texts("2000", "1", "0", "2001", "1", "1") << 2
                                 << QStringLiteral(" 1") << day << 4;
    QTest::newRow("end day 32") << texts("2000", "1", "1", "2001", "1", "32") << 5
                                << QStringLiteral(" 31") << day << 5;
    QTest::newRow("comma ends the number")
        << texts("2000", "0,5", "1", "2001", "1", "1") << 1 << QStringLiteral(" 1") << month << 2;
}

void TestServiceLength::checkOrderAndMessages()
{
    QFETCH(tools::DateTexts, boxes);
    QFETCH(int, failingBox);
    QFETCH(QString, replacement);
    QFETCH(QString, firstLine);
    QFETCH(int, rewritten);

    const tools::DateCheck check = tools::checkDates(boxes, 2024);
    QVERIFY(check.failure.has_value());
    QCOMPARE(check.failure->box, failingBox);
    QCOMPARE(check.failure->replacement, replacement);
    const bool year = failingBox == 0 || failingBox == 3;
    const QString second = year ? QStringLiteral(" Введите реальную дату")
                                : QStringLiteral(" Введите реальные данные ");
    QCOMPARE(check.failure->message.text, firstLine + u"\r\r" + second);
    QCOMPARE(check.failure->message.title, QStringLiteral(" Ошибочка вышла!!! "));
    QCOMPARE(check.failure->message.icon, paycalc::Message::Icon::Warning);
    QCOMPARE(int(check.rewrites.size()), rewritten);
}

void TestServiceLength::passingValuesRewritten()
{
    // The limit year itself passes; impossible dates and reversed periods too.
    const tools::DateCheck check =
        tools::checkDates(texts("2038", "  02x", "31", "1999abc", "1", " 1 5"), 2024);
    QVERIFY(!check.failure.has_value());
    QCOMPARE(int(check.rewrites.size()), 6);
    const std::array<int, 6> order{0, 3, 1, 4, 2, 5};
    const QStringList expected{QStringLiteral("2038"), QStringLiteral("1999"),
                               QStringLiteral("2"),    QStringLiteral("1"),
                               QStringLiteral("31"),   QStringLiteral("15")};
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(check.rewrites[i].box, order[i]);
        QCOMPARE(check.rewrites[i].text, expected[i]);
    }
    QCOMPARE(check.period.startYear, 2038.0);
    QCOMPARE(check.period.endYear, 1999.0);
    QCOMPARE(check.period.endDay, 15.0);

    const tools::DateCheck fraction =
        tools::checkDates(texts("2000", "2.5", "1", "2001", "1", "1"), 2024);
    QVERIFY(!fraction.failure.has_value());
    QCOMPARE(fraction.rewrites[2].text, QStringLiteral("2.5"));
}

QTEST_GUILESS_MAIN(TestServiceLength)
#include "tst_servicelength.moc"
