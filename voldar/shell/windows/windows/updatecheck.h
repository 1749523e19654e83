#pragma once

#include <optional>
#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QUrl>

class QNetworkReply;

namespace shellwindows {

// State numbers of a version-file transfer, in the order they occur.
enum TransferState : int
{
    Connecting = 3,
    Connected = 4,
    Requesting = 5,
    ReceivingResponse = 7,
    ResponseReceived = 8,
};

// The status-line text for a transfer state; nullopt: leave the line as it is.
std::optional<QString> transferStateText(int state);

// "3.0.0": major, minor and revision joined by points.
QString versionText(int major, int minor, int revision);

// The version of this build of the program.
QString localVersion();

// The first `length` characters of a downloaded version file, read as UTF-8
// (a byte-order mark is dropped). Only those characters need to be text:
// when one of them is a NUL or not UTF-8, the result is empty, as if nothing
// came; whatever bytes follow them do not matter.
QString serverVersionFrom(const QByteArray& body, qsizetype length);

// Fetches the version file and compares its beginning with the local version.
// Asynchronous: start() returns at once, progress comes as stateChanged(),
// the end as finished(). There is no time-out; cancel() stops at any moment.
class UpdateCheck : public QObject
{
    Q_OBJECT

public:
    enum class Outcome
    {
        Unreachable, // nothing usable came: no connection, error, empty, oversized, no text
        UpToDate,    // the server's version text equals ours
        Different,   // the server has another version (newer, older or malformed)
    };
    Q_ENUM(Outcome)

    // A version file is a few bytes; more than this is not one, and reading
    // stops there so that a broken server cannot fill the memory.
    static constexpr qint64 MaxBodySize = 64 * 1024;

    UpdateCheck(QUrl versionFile, QString localVersion, QObject* parent = nullptr);
    ~UpdateCheck() override;

    const QString& localVersion() const { return m_localVersion; }
    bool isRunning() const { return m_reply != nullptr; }

    // How a server version text compares with ours: empty is unreachable, any
    // other difference (also an older version) counts as different.
    Outcome judge(const QString& serverVersion) const;

    // Starts a transfer; ignored while one is running.
    void start();
    // Abandons the running transfer; finished() is not emitted for it.
    void cancel();

signals:
    void stateChanged(int state);
    // `serverVersion` is what the server's file begins with (empty when unreachable).
    void finished(shellwindows::UpdateCheck::Outcome outcome, const QString& serverVersion);

private:
    void report(int state);
    void onMetaDataChanged();
    void onReadyRead();
    void onReplyFinished();
    // Stops the transfer without reporting it.
    void dropReply();

    QNetworkAccessManager m_network;
    QUrl m_versionFile;
    QString m_localVersion;
    QNetworkReply* m_reply = nullptr;
    QByteArray m_body;
    bool m_tooLarge = false;
    int m_lastState = 0;
};

} // namespace shellwindows
