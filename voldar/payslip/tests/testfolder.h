#pragma once

// Shared by the payslip tests: a program folder in a temporary directory with
// small salary files, and an engine on it that records its message boxes.

#include "paycalc/cp1251.h"
#include "paycalc/messagesink.h"
#include "paycalc/payengine.h"

// Shared with the engine's tests: file helpers and a disk that fills up.
#include "../../paycalc/tests/testfiles.h"

#include <csignal>
#include <fcntl.h>
#include <memory>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace payslip::test {

using namespace Qt::StringLiterals;

using RecordingSink = paycalc::MessageSink;

// A program folder: Data with the two salary files and an empty Lists folder.
class ProgramFolder
{
public:
    ProgramFolder()
    {
        QDir(m_dir.path()).mkpath(QStringLiteral("Data/Lists"));
        const QStringList ranks = {u"Звания"_s,    u"1"_s,       u"Рядовой"_s, u"1000"_s,
                                   u"2"_s,         u"Сержант"_s, u"1250.5"_s,  u"3"_s,
                                   u"Лейтенант"_s, u"2000"_s,    u"4"_s,       u"Капитан"_s,
                                   u"2500"_s,      u"конец"_s,   QString()};
        const QStringList grades = {u"Разряды"_s,  u"1"_s,        u"1 разряд"_s, u"3000"_s,
                                    u"2"_s,        u"2 разряд"_s, u"3300"_s,     u"3"_s,
                                    u"3 разряд"_s, u"3600"_s,     u"конец"_s,    QString()};
        writeBytes(data() + u"/Zvanie.Txt", paycalc::cp1251::encodeLines(ranks));
        writeBytes(data() + u"/Dolznost.Txt", paycalc::cp1251::encodeLines(grades));
    }

    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    QString data() const { return m_dir.path() + u"/Data"; }
    QString lists() const { return data() + u"/Lists"; }

private:
    QTemporaryDir m_dir;
};

// An engine started the way the main window starts it, on March 2008.
struct Sheet
{
    explicit Sheet(const QString& dataFolder) : engine(sink, dataFolder)
    {
        engine.beginLoad(QDate(2008, 3, 15));
        engine.fillLists();
    }

    RecordingSink sink;
    paycalc::PayEngine engine;
};

// Lets this process open no further file: the limit of open files is lowered
// to the lowest free descriptor, so that creating a file fails even for root,
// whom a read-only folder does not stop. Restores the limit when it goes.
class NoNewFiles
{
public:
    NoNewFiles()
    {
        getrlimit(RLIMIT_NOFILE, &m_saved);
        const int lowestFree = ::open("/dev/null", O_RDONLY);
        if (lowestFree < 0)
            return;
        ::close(lowestFree);
        rlimit limited = m_saved;
        limited.rlim_cur = static_cast<rlim_t>(lowestFree);
        m_active = setrlimit(RLIMIT_NOFILE, &limited) == 0;
    }
    ~NoNewFiles() { setrlimit(RLIMIT_NOFILE, &m_saved); }
    NoNewFiles(const NoNewFiles&) = delete;
    NoNewFiles& operator=(const NoNewFiles&) = delete;

    bool isActive() const { return m_active; }

private:
    rlimit m_saved{};
    bool m_active = false;
};

// Permissions do not stop root from writing.
inline bool runningAsRoot()
{
    return ::geteuid() == 0;
}

} // namespace payslip::test
