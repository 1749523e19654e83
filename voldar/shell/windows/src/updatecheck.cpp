#include "windows/updatecheck.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringDecoder>
#include <utility>

#ifndef VOLDAR_VERSION_MAJOR
#error "VOLDAR_VERSION_MAJOR, _MINOR and _PATCH come from the project version"
#endif

namespace shellwindows {

std::optional<QString> transferStateText(int state)
{
    switch (state) {
    case Connecting:
        return QStringLiteral(" Подключение к серверу ...");
    case Connected:
        return QStringLiteral(" Подключение прошло удачно! ");
    case Requesting:
        return QStringLiteral(" Отпарвление запроса ...");
    case ReceivingResponse:
        return QStringLiteral(" Получение информации с сервера ...");
    case ResponseReceived:
        return QString();
    default:
        return std::nullopt;
    }
}

QString versionText(int major, int minor, int revision)
{
    return QString::number(major) + QLatin1Char('.') + QString::number(minor) + QLatin1Char('.') +
           QString::number(revision);
}

QString localVersion()
{
    return versionText(VOLDAR_VERSION_MAJOR, VOLDAR_VERSION_MINOR, VOLDAR_VERSION_PATCH);
}

QString serverVersionFrom(const QByteArray& body, qsizetype length)
{
    // Only the characters compared need to be text: whatever follows them (a
    // line break, a note in another code page, NUL padding) is never looked
    // at. A byte that is not UTF-8 decodes to the replacement character.
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString start = QString(decoder.decode(body)).left(length);
    if (start.contains(QChar::Null) || start.contains(QChar::ReplacementCharacter))
        return {};
    return start;
}

UpdateCheck::UpdateCheck(QUrl versionFile, QString localVersion, QObject* parent)
    : QObject(parent), m_versionFile(std::move(versionFile)),
      m_localVersion(std::move(localVersion))
{}

UpdateCheck::~UpdateCheck()
{
    dropReply();
}

UpdateCheck::Outcome UpdateCheck::judge(const QString& serverVersion) const
{
    if (serverVersion.isEmpty())
        return Outcome::Unreachable;
    return serverVersion == m_localVersion ? Outcome::UpToDate : Outcome::Different;
}

void UpdateCheck::start()
{
    if (m_reply)
        return;
    m_body.clear();
    m_tooLarge = false;
    m_lastState = 0;

    QNetworkRequest request(m_versionFile);
    m_reply = m_network.get(request);
    // The reply's own buffer stays small; onReadyRead() empties it as data comes.
    m_reply->setReadBufferSize(16 * 1024);

    connect(m_reply, &QNetworkReply::socketStartedConnecting, this, [this] { report(Connecting); });
    connect(m_reply, &QNetworkReply::encrypted, this, [this] {
        report(Connecting);
        report(Connected);
    });
    // A reused connection skips the connecting signals; the request going out
    // means the connection stands.
    connect(m_reply, &QNetworkReply::requestSent, this, [this] {
        report(Connecting);
        report(Connected);
        report(Requesting);
    });
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &UpdateCheck::onMetaDataChanged);
    connect(m_reply, &QNetworkReply::readyRead, this, &UpdateCheck::onReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &UpdateCheck::onReplyFinished);
}

void UpdateCheck::cancel()
{
    dropReply();
}

void UpdateCheck::report(int state)
{
    // States only move forward; a signal that repeats one is not news.
    if (state <= m_lastState)
        return;
    m_lastState = state;
    emit stateChanged(state);
}

void UpdateCheck::onMetaDataChanged()
{
    report(ReceivingResponse);
    const QVariant announced = m_reply->header(QNetworkRequest::ContentLengthHeader);
    if (announced.isValid() && announced.toLongLong() > MaxBodySize) {
        m_tooLarge = true;
        m_reply->abort(); // finishes the reply at once: onReplyFinished() reports it
    }
}

void UpdateCheck::onReadyRead()
{
    report(ReceivingResponse);
    m_body += m_reply->read(MaxBodySize + 1 - m_body.size());
    if (m_body.size() > MaxBodySize) {
        m_tooLarge = true;
        m_body.clear();
        m_reply->abort();
    }
}

void UpdateCheck::onReplyFinished()
{
    QNetworkReply* const reply = std::exchange(m_reply, nullptr);
    reply->disconnect(this);
    reply->deleteLater();

    bool received = reply->error() == QNetworkReply::NoError && !m_tooLarge;
    if (received) {
        m_body += reply->read(MaxBodySize + 1 - m_body.size());
        received = m_body.size() <= MaxBodySize;
    }
    if (received)
        report(ResponseReceived);

    const QString serverVersion =
        received ? serverVersionFrom(m_body, m_localVersion.size()) : QString();
    m_body.clear();

    emit finished(judge(serverVersion), serverVersion);
}

void UpdateCheck::dropReply()
{
    QNetworkReply* const reply = std::exchange(m_reply, nullptr);
    if (!reply)
        return;
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
}

} // namespace shellwindows
