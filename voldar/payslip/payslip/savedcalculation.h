#pragma once

#include "paycalc/message.h"

#include <optional>
#include <QString>
#include <QStringList>

namespace paycalc {
class PayEngine;
}

namespace payslip {

// The saved calculation, Data/Save_log.txt: the ten list choices that fix the
// salaries and the percentage bonuses, one index per line in the order of the
// mirrors Txt1..Txt10. Loading sets the lists' selections through the engine,
// so every list's own rule runs as if the user had picked the item.
class SavedCalculation
{
public:
    SavedCalculation(paycalc::PayEngine& engine, QString dataFolder);

    static QString fileName() { return QStringLiteral("Save_log.txt"); }
    QString filePath() const;

    // The ten lines the file holds for the engine's current mirrors: each
    // mirror without its leading blanks, empty for a list never touched.
    QStringList lines() const;

    // mnuSave (Ctrl+S). Returns the box to show: "Данные сохранены" when the
    // file was written, otherwise an error naming the file and the reason (the
    // previous file is then left as it was).
    paycalc::Message save() const;

    // mnuLoad (Ctrl+L). Applies the file line by line; returns the error box to
    // show when the file is missing, too short or holds an index a list refuses
    // (the lines applied before the failure stay applied). An empty file
    // changes nothing and returns no box.
    std::optional<paycalc::Message> load();

    // mnuNew (Ctrl+O), "Обнулить": zeroes the computed sheet.
    void reset();

    // The one box of every load failure.
    static paycalc::Message loadFailedMessage();

private:
    paycalc::PayEngine& m_engine;
    QString m_dataFolder;
};

} // namespace payslip
