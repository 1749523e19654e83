#pragma once

#include "mainwindow/form1.h"
#include "paycalc/cp1251.h"
#include "paycalc/message.h"

#include <memory>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

// A Data folder with two small salary files, and a main window over it whose
// messages, questions, opened addresses and print jobs are recorded instead of
// shown.
namespace form1fixture {

inline void writeFile(const QString& path, const QStringList& lines)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(paycalc::cp1251::encodeLines(lines));
}

// Heading, then number / name / salary records, then the end marker.
inline void writeSalaryFiles(const QString& folder)
{
    writeFile(folder + QStringLiteral("/Zvanie.Txt"),
              {QStringLiteral("Оклады по воинским званиям"), QStringLiteral("1"),
               QStringLiteral("Рядовой"), QStringLiteral("10000"), QStringLiteral("2"),
               QStringLiteral("Сержант"), QStringLiteral("12000"), QString(), QString()});
    writeFile(folder + QStringLiteral("/Dolznost.Txt"),
              {QStringLiteral("Оклады по должностям"), QStringLiteral("1"),
               QStringLiteral("1 тарифный разряд"), QStringLiteral("20000"), QString(), QString()});
    QVERIFY(QDir(folder).mkpath(QStringLiteral("Lists")));
}

// Emits a timer's timeout as if its interval had run out.
inline void fire(QTimer* timer)
{
    QVERIFY(timer != nullptr);
    QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
}

// Counts the paint events of the widgets it watches.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

struct Recorder
{
    QList<paycalc::Message> messages;
    QList<platform::Box> questions;
    bool answer = true;
    QStringList opened;
    QList<payslip::PrintResult> printResults; // consumed in order; printed when empty
    int printed = 0;
    std::function<void(QWidget*)> onPrint;

    Form1::Setup setup(const QString& dataFolder)
    {
        Form1::Setup setup{dataFolder, QDate(2010, 3, 15),
                           [this](const paycalc::Message& m) { messages << m; }};
        setup.askQuestion = [this](QWidget*, const platform::Box& box) {
            questions << box;
            return answer;
        };
        setup.openDocument = [this](const QString& address) { opened << address; };
        setup.print = [this](QWidget* widget) {
            ++printed;
            if (onPrint)
                onPrint(widget);
            return printResults.isEmpty() ? payslip::PrintResult{true, {}}
                                          : printResults.takeFirst();
        };
        return setup;
    }
};

} // namespace form1fixture
