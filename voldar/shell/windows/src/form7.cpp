#include "windows/form7.h"

#include "platform/addresses.h"
#include "platform/platform.h"
#include "platform/titles.h"
#include "ui_form7.h"

#include <QPalette>

namespace {

const QString StartCaption = QStringLiteral("Старт");
const QString CancelCaption = QStringLiteral("Отмена");

QString updateTitle()
{
    return QString::fromUtf16(titles::Form7);
}

} // namespace

QUrl Form7::defaultVersionFile()
{
    return QUrl(QString::fromUtf16(addresses::VersionFile));
}

Form7::Form7(QWidget* parent, QUrl versionFile, platform::BoxHook box,
             platform::DocumentOpener open)
    : QWidget(parent, Qt::Window), m_ui(std::make_unique<Ui::Form7>()),
      m_box(box ? std::move(box) : platform::BoxHook(&platform::showBox)),
      m_open(open ? std::move(open) : platform::DocumentOpener(&platform::openDocument)),
      m_transfer(
          new shellwindows::UpdateCheck(std::move(versionFile), shellwindows::localVersion(), this))
{
    m_ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(updateTitle());
    m_transfer->setObjectName(QStringLiteral("itrTransfer"));

    m_ui->Label6->setText(
        QStringLiteral("Программа распространяется бесплатно. Если она Вам помогает, поддержите, "
                       "пожалуйста, её развитие и сайт программы добровольным взносом: как это "
                       "сделать, написано на сайте."));
    m_ui->Version->setText(m_transfer->localVersion());
    // Raised buttons, not flat ones.
    m_ui->Command1->setFlat(false);
    m_ui->Command2->setFlat(false);

    connect(m_ui->Command1, &QPushButton::clicked, this, &Form7::onCommand1Clicked);
    connect(m_ui->Command2, &QPushButton::clicked, this, &Form7::onCommand2Clicked);
    connect(m_transfer, &shellwindows::UpdateCheck::stateChanged, this,
            &Form7::onTransferStateChanged);
    connect(m_transfer, &shellwindows::UpdateCheck::finished, this, &Form7::onTransferFinished);
}

Form7::~Form7() = default;

void Form7::onCommand1Clicked()
{
    setStatusColour(Qt::blue);
    if (m_ui->Command1->text() != StartCaption) {
        // A transfer is running: give it up. A new check needs a new window.
        m_transfer->cancel();
        m_ui->Command1->setEnabled(false);
        m_ui->Command2->setEnabled(true);
        m_ui->Label3->setText(QStringLiteral(" Отмена "));
        return;
    }
    m_ui->Command1->setText(CancelCaption);
    m_ui->Label3->setText(QStringLiteral("Подождите пожалуйста ..."));
    m_transfer->start();
}

void Form7::onCommand2Clicked()
{
    close();
}

void Form7::onTransferStateChanged(int state)
{
    if (const auto text = shellwindows::transferStateText(state))
        m_ui->Label3->setText(*text);
}

void Form7::onTransferFinished(shellwindows::UpdateCheck::Outcome outcome,
                               const QString& serverVersion)
{
    m_ui->Label5->setText(serverVersion);
    if (outcome != shellwindows::UpdateCheck::Outcome::Unreachable) {
        m_ui->Label3->clear();
        CheckVers();
        return;
    }
    m_box(this, {platform::Box::Kind::Error, updateTitle(),
                 QStringLiteral(" Сервер недоступен !\r\r Проверьте подключение к Internet !")});
    m_ui->Command1->setText(StartCaption);
    setStatusColour(Qt::red);
    m_ui->Label3->setText(QStringLiteral("Ошибка"));
}

void Form7::CheckVers()
{
    using Outcome = shellwindows::UpdateCheck::Outcome;
    if (m_transfer->judge(m_ui->Label5->text()) != Outcome::UpToDate) {
        m_ui->Command1->setText(StartCaption);
        const bool visit = m_box(
            this, {platform::Box::Kind::Question, QString::fromUtf16(platform::DefaultBoxTitle),
                   QStringLiteral("На сервере есть новая версия !\r\rПосетить сервер для "
                                  "получения новой версии ?")});
        if (visit)
            LaunchDownloadSite();
        return;
    }
    m_box(this, {platform::Box::Kind::Information, updateTitle(),
                 QStringLiteral("У Вас самая новая версия !")});
    m_ui->Command1->setText(StartCaption);
}

void Form7::LaunchDownloadSite()
{
    m_open(QString::fromUtf16(addresses::DownloadPage));
}

void Form7::setStatusColour(const QColor& colour)
{
    QPalette palette = m_ui->Label3->palette();
    palette.setColor(QPalette::WindowText, colour);
    m_ui->Label3->setPalette(palette);
}

namespace shellwindows {

bool askToCheckForUpdates(QWidget* parent, const platform::BoxHook& box)
{
    const platform::Box question{platform::Box::Kind::Question,
                                 QStringLiteral("  ~ Voldar ™ обновление ~ "),
                                 QStringLiteral("Вы хотите проверить обновление на сервере ?")};
    return box ? box(parent, question) : platform::showBox(parent, question);
}

} // namespace shellwindows
