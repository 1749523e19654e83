#pragma once

#include "paycalc/cp1251.h"
#include "paycalc/payengine.h"
#include "recordingsink.h"

#include <memory>
#include <QDate>
#include <QFile>
#include <QTemporaryDir>

// A Data folder with small salary files and an engine loaded from it.
// Ranks: Рядовой 10000, Сержант 5000, Майор 30000, Генерал 123456789.
// Grades: 1 разряд 10000, 2 разряд 1500, 3 разряд 5000.
struct EngineFixture
{
    QTemporaryDir dir;
    RecordingSink sink;
    std::unique_ptr<paycalc::PayEngine> engine;

    EngineFixture()
    {
        writeSalaryFile(u"Zvanie.Txt"_s, {{u"Рядовой"_s, u"10000"_s},
                                          {u"Сержант"_s, u"5000"_s},
                                          {u"Майор"_s, u"30000"_s},
                                          {u"Генерал"_s, u"123456789"_s}});
        writeSalaryFile(
            u"Dolznost.Txt"_s,
            {{u"1 разряд"_s, u"10000"_s}, {u"2 разряд"_s, u"1500"_s}, {u"3 разряд"_s, u"5000"_s}});
        engine = std::make_unique<paycalc::PayEngine>(sink, dir.path());
        engine->beginLoad(QDate(2024, 5, 17));
        engine->fillLists();
        sink.calls.clear();
    }

    void writeSalaryFile(const QString& name, const QList<std::pair<QString, QString>>& records)
    {
        QStringList lines{u"Тестовая таблица окладов"_s};
        int number = 1;
        for (const auto& [itemName, salary] : records) {
            lines << QString::number(number++) << itemName << salary;
        }
        lines << QString() << QString();
        writeBytes(name, paycalc::cp1251::encodeLines(lines));
    }

    void writeBytes(const QString& name, const QByteArray& bytes)
    {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(bytes);
    }

    paycalc::PayEngine& e() { return *engine; }
    const paycalc::PaySheet& sheet() const { return engine->sheet(); }
    QString caption(paycalc::Label label) const { return engine->caption(label); }

    // Types a box's text and lets its delayed refresh fire.
    void typeAndSettle(paycalc::Box box, const QString& text, paycalc::Timer timer)
    {
        engine->boxChanged(box, text);
        engine->timerTick(timer);
    }
};
