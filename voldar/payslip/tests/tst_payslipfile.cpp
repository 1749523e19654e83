#include "payslip/payslipfile.h"
#include "testfolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;
using paycalc::List;
using paycalc::Message;
using payslip::PaySlipReading;
using namespace payslip::test;

namespace {

payslip::PaySlipValues sampleValues()
{
    payslip::PaySlipValues values;
    for (int field = 0; field < payslip::PaySlipFieldCount; ++field)
        values[field] = QString::number(1000 + field) + u".5 руб.";
    return values;
}

QStringList everythingUnder(const QString& folder)
{
    QStringList found;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        found << it.next();
    found.sort();
    return found;
}

QString slipPath(const ProgramFolder& folder)
{
    return folder.lists() + u"/Март 2008.txt";
}

} // namespace

class TestPaySlipFile : public QObject
{
    Q_OBJECT

private slots:
    void linesHoldTheCaptionsBetweenTheSections();
    void fileIsWindows1251WithCrLfUnderAUtf8Name();
    void secondSaveOfAMonthReplacesTheFirst();
    void fileName_data();
    void fileName();
    void refusedNameWritesNothing();
    void failedSaveKeepsTheOldSlip_data();
    void failedSaveKeepsTheOldSlip();
    void read_data();
    void read();
};

void TestPaySlipFile::linesHoldTheCaptionsBetweenTheSections()
{
    ProgramFolder folder;
    Sheet sheet(folder.data());
    QVERIFY(sheet.engine.setSelection(List::Combo1, 2));
    QVERIFY(sheet.engine.setSelection(List::Combo2, 1));
    QVERIFY(sheet.engine.setSelection(List::Combo3, 2));
    sheet.engine.ModulUder();

    const QStringList lines = payslip::paySlipLines(payslip::paySlipValues(sheet.engine));
    QCOMPARE(lines.size(), 25);
    QCOMPARE(lines[0], u"----------Начисления----------"_s);
    QCOMPARE(lines[12], u"---Дополнительные начисления---"_s);
    QCOMPARE(lines[16], u"--------ИТОГО НАЧИСЛЕНО--------"_s);
    QCOMPARE(lines[18], u"-----------Удержания-----------"_s);
    QCOMPARE(lines[21], u"---------ИТОГО УДЕРЖАНО--------"_s);
    QCOMPARE(lines[23], u"------------К ВЫДАЧЕ-----------"_s);

    for (int field = 0; field < payslip::PaySlipFieldCount; ++field) {
        const QString line = lines[payslip::PaySlipFieldLines[field] - 1];
        const QString caption = sheet.engine.caption(payslip::PaySlipLabels[field]);
        QVERIFY2(!line.startsWith(u' '), qPrintable(line));
        QCOMPARE(line, caption.trimmed());
    }
    QVERIFY(lines[1].endsWith(u" руб."_s)); // the rank salary was displayed
    QCOMPARE(lines[24], sheet.engine.caption(paycalc::Label::Label39).trimmed());
}

void TestPaySlipFile::fileIsWindows1251WithCrLfUnderAUtf8Name()
{
    ProgramFolder folder;
    Sheet sheet(folder.data());
    QVERIFY(sheet.engine.setSelection(List::Combo1, 1));
    QCOMPARE(payslip::savePaySlip(sheet.engine, folder.data(), u"Март"_s, u"2008"_s),
             Message({u"Данные сохранены"_s, u"Сохранение"_s, Message::Icon::Information}));

    const QStringList names = QDir(folder.lists()).entryList(QDir::Files);
    QCOMPARE(names, QStringList{u"Март 2008.txt"_s});
    QCOMPARE(QFile::encodeName(names[0]), QByteArray("\xd0\x9c\xd0\xb0\xd1\x80\xd1\x82 2008.txt"));

    const QByteArray bytes = readBytes(slipPath(folder));
    QVERIFY(bytes.startsWith("----------\xcd\xe0\xf7\xe8\xf1\xeb\xe5\xed\xe8\xff----------\r\n"));
    QCOMPARE(bytes.count("\r\n"), 25);
    QCOMPARE(bytes.count('\n'), 25);
    QCOMPARE(bytes.count('\r'), 25);
    QVERIFY(bytes.endsWith("\r\n"));
    QVERIFY(bytes.contains(" \xf0\xf3\xe1.\r\n")); // " руб."
    QCOMPARE(paycalc::cp1251::decode(bytes).split(u"\r\n"_s).mid(0, 25),
             payslip::paySlipLines(payslip::paySlipValues(sheet.engine)));
}

void TestPaySlipFile::secondSaveOfAMonthReplacesTheFirst()
{
    ProgramFolder folder;
    Sheet sheet(folder.data());
    QVERIFY(sheet.engine.setSelection(List::Combo1, 1));
    payslip::savePaySlip(sheet.engine, folder.data(), u"Март"_s, u"2008"_s);
    QVERIFY(sheet.engine.setSelection(List::Combo1, 3));
    payslip::savePaySlip(sheet.engine, folder.data(), u" Март "_s, u" 2008"_s);

    QCOMPARE(QDir(folder.lists()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    const QByteArray bytes = readBytes(slipPath(folder));
    QCOMPARE(bytes.count("\r\n"), 25);
    QCOMPARE(
        paycalc::cp1251::encodeLines(payslip::paySlipLines(payslip::paySlipValues(sheet.engine))),
        bytes);
}

void TestPaySlipFile::fileName_data()
{
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("name"); // empty: refused

    QTest::newRow("plain") << u"Январь"_s << u"2009"_s << u"Январь 2009.txt"_s;
    QTest::newRow("blanks trimmed") << u"  Март "_s << u" 2008  "_s << u"Март 2008.txt"_s;
    QTest::newRow("slash") << u"Ма/рт"_s << u"2008"_s << QString();
    QTest::newRow("backslash") << u"Март"_s << u"20\\08"_s << QString();
    QTest::newRow("empty month") << u"  "_s << u"2008"_s << QString();
    QTest::newRow("empty year") << u"Март"_s << QString() << QString();
    QTest::newRow("dot") << u"."_s << u"2008"_s << QString();
    QTest::newRow("dot dot") << u"Март"_s << u".."_s << QString();
    QTest::newRow("NUL") << (u"Ма"_s + QChar(0) + u"рт"_s) << u"2008"_s << QString();
    QTest::newRow("line break") << u"Март\n"_s << u"2008"_s << QString();
    QTest::newRow("too long") << QString(130, u'М') << u"2008"_s << QString();
    QTest::newRow("long but fits")
        << QString(120, u'М') << u"2008"_s << QString(120, u'М') + u" 2008.txt";
}

void TestPaySlipFile::fileName()
{
    QFETCH(QString, month);
    QFETCH(QString, year);
    QFETCH(QString, name);

    const payslip::PaySlipName result = payslip::paySlipFileName(month, year);
    if (name.isEmpty()) {
        QVERIFY(!result.problem.isEmpty());
    } else {
        QCOMPARE(result.fileName, name);
        QVERIFY2(result.problem.isEmpty(), qPrintable(result.problem));
    }
}

void TestPaySlipFile::refusedNameWritesNothing()
{
    ProgramFolder folder;
    Sheet sheet(folder.data());
    const QStringList before = everythingUnder(folder.path());
    for (const QString& month : {u"../../Март"_s, u"."_s, QString(), QString(200, u'Я')}) {
        const Message box = payslip::savePaySlip(sheet.engine, folder.data(), month, u"2008"_s);
        QCOMPARE(box.icon, Message::Icon::Error);
        QCOMPARE(box.title, u"Ошибка"_s);
        QVERIFY2(box.text.contains(u".txt'\r"_s), qPrintable(box.text));
    }
    QCOMPARE(everythingUnder(folder.path()), before);
}

void TestPaySlipFile::failedSaveKeepsTheOldSlip_data()
{
    QTest::addColumn<QString>("failure");
    QTest::newRow("no Lists folder") << u"missing"_s;
    QTest::newRow("Lists is a file") << u"file"_s;
    QTest::newRow("disk full") << u"full"_s;
    QTest::newRow("read-only Lists folder") << u"readonly"_s;
}

void TestPaySlipFile::failedSaveKeepsTheOldSlip()
{
    QFETCH(QString, failure);

    ProgramFolder folder;
    Sheet sheet(folder.data());
    QVERIFY(sheet.engine.setSelection(List::Combo1, 1));
    const QByteArray old = "old slip\r\n";
    if (failure == u"missing") {
        QVERIFY(QDir(folder.lists()).removeRecursively());
    } else if (failure == u"file") {
        QVERIFY(QDir(folder.lists()).removeRecursively());
        QVERIFY(writeBytes(folder.lists(), old));
    } else {
        QVERIFY(writeBytes(slipPath(folder), old));
    }
    const QStringList before = everythingUnder(folder.path());

    Message box;
    {
        std::unique_ptr<FileSizeLimit> full;
        if (failure == u"full")
            full = std::make_unique<FileSizeLimit>(16);
        if (failure == u"readonly")
            QVERIFY(QFile::setPermissions(folder.lists(), QFile::ReadOwner | QFile::ExeOwner));
        // Root writes into a read-only folder all the same; for root no new
        // file can be made at all.
        std::unique_ptr<NoNewFiles> noNewFiles;
        if (failure == u"readonly" && runningAsRoot()) {
            noNewFiles = std::make_unique<NoNewFiles>();
            QVERIFY(noNewFiles->isActive());
        }
        box = payslip::savePaySlip(sheet.engine, folder.data(), u"Март"_s, u"2008"_s);
        QFile::setPermissions(folder.lists(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QCOMPARE(box.icon, Message::Icon::Error);
    QVERIFY2(box.text.contains(slipPath(folder)), qPrintable(box.text));
    QVERIFY2(box.text.contains(u'\r'), "the reason follows the file name");
    if (failure == u"full")
        QVERIFY2(box.text.contains(u"диск заполнен"_s), qPrintable(box.text));
    QCOMPARE(everythingUnder(folder.path()), before);
    if (failure == u"file")
        QCOMPARE(readBytes(folder.lists()), old);
    else if (failure != u"missing")
        QCOMPARE(readBytes(slipPath(folder)), old);
}

void TestPaySlipFile::read_data()
{
    QTest::addColumn<bool>("exists"); // if not, a link to the path in `content`, if any
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("status");
    QTest::addColumn<QList<int>>("filled"); // fields (1-based) that got a value

    const QStringList lines = payslip::paySlipLines(sampleValues());
    QList<int> all;
    for (int field = 1; field <= payslip::PaySlipFieldCount; ++field)
        all << field;
    const auto complete = int(PaySlipReading::Status::Complete);
    const auto cut = int(PaySlipReading::Status::Short);

    QTest::newRow("whole slip") << true << paycalc::cp1251::encodeLines(lines) << complete << all;
    QTest::newRow("line feeds alone")
        << true << paycalc::cp1251::encode(lines.join(u'\n')) << complete << all;

    QStringList gap = lines;
    gap[11].clear(); // field 11 (line 12)
    QList<int> gapFields = all;
    gapFields.removeOne(11);
    QTest::newRow("empty value line")
        << true << paycalc::cp1251::encodeLines(gap) << complete << gapFields;

    QTest::newRow("ten lines") << true << paycalc::cp1251::encodeLines(lines.mid(0, 10)) << cut
                               << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9};
    QTest::newRow("missing") << false << QByteArray() << int(PaySlipReading::Status::CannotOpen)
                             << QList<int>{};
    QTest::newRow("empty") << true << QByteArray() << int(PaySlipReading::Status::Empty)
                           << QList<int>{};
    QTest::newRow("bytes that are not text")
        << true << QByteArray("\x98\xff\x00junk\r\n\x98\x00\x01\r\n", 14) << cut << QList<int>{1};

    // Beyond a bound no slip, whatever its first lines; an endless device is not read whole.
    const auto tooLarge = int(PaySlipReading::Status::TooLarge);
    const QByteArray whole = paycalc::cp1251::encodeLines(lines);
    QTest::newRow("up to the bound")
        << true << whole + QByteArray(payslip::PaySlipMaxBytes - whole.size(), ' ') << complete
        << all;
    QTest::newRow("beyond the bound")
        << true << whole + QByteArray(payslip::PaySlipMaxBytes - whole.size() + 1, ' ') << tooLarge
        << QList<int>{};
    QTest::newRow("endless") << false << "/dev/zero"_ba << tooLarge << QList<int>{};
    // It opens, but reading fails: its first page is never mapped.
    QTest::newRow("read error") << false << "/proc/self/mem"_ba
                                << int(PaySlipReading::Status::ReadError) << QList<int>{};
}

void TestPaySlipFile::read()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, content);
    QFETCH(int, status);
    QFETCH(QList<int>, filled);

    ProgramFolder folder;
    if (exists)
        QVERIFY(writeBytes(slipPath(folder), content));
    else if (!content.isEmpty())
        QVERIFY(QFile::link(QString::fromLatin1(content), slipPath(folder)));
    const PaySlipReading reading = payslip::readPaySlip(slipPath(folder));
    QCOMPARE(int(reading.status), status);

    const payslip::PaySlipValues expected = sampleValues();
    for (int field = 1; field <= payslip::PaySlipFieldCount; ++field) {
        const std::optional<QString>& value = reading.values[field - 1];
        QCOMPARE(value.has_value(), filled.contains(field));
        if (value && QTest::currentDataTag() != QByteArray("bytes that are not text"))
            QCOMPARE(*value, expected[field - 1]);
    }
    if (QTest::currentDataTag() == QByteArray("bytes that are not text"))
        QCOMPARE(*reading.values[0], QString(QChar(0xFFFD)) + QChar(0) + QChar(1));
}

QTEST_GUILESS_MAIN(TestPaySlipFile)
#include "tst_payslipfile.moc"
