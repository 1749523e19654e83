#include "builtinicon.h"
#include "frmabout.h"
#include "picturebox.h"
#include "server_p.h"
#include "windowhandles.h"

#include <cmath>
#include <mutex>
#include <notiko/notificationarea.h>
#include <notiko/notifyicondata.h>
#include <notiko/notiko.h>
#include <QEvent>
#include <QImage>
#include <QMessageBox>
#include <QPixmap>
#include <QPointer>

using namespace notiko;

namespace {

const QString createFailed =
    QStringLiteral("Incorrect Notiko.Metods sequence or Notiko.Icon not ICON");
const QString modifyFailed =
    QStringLiteral("Incorrect Otiko.Metods sequence or Otiko.Icon not ICON");

const QString defaultToolTip = QStringLiteral("NotikoLib");

// Lets hosts set the Icon property late-bound with a plain QIcon or image.
void registerPictureConverters()
{
    static std::once_flag once;
    std::call_once(once, [] {
        QMetaType::registerConverter<QIcon, Picture>(&Picture::fromIcon);
        QMetaType::registerConverter<QImage, Picture>(&Picture::fromImage);
        QMetaType::registerConverter<QPixmap, Picture>(
            [](const QPixmap& pixmap) { return Picture::fromImage(pixmap.toImage()); });
        QMetaType::registerConverter<Picture, QIcon>(&Picture::icon);
    });
}

void showCriticalBox(QWidget* parent, const QString& text)
{
    // No title of its own: the window system shows the program's name.
    QMessageBox box(QMessageBox::Critical, QString(), text, QMessageBox::Ok, parent);
    box.exec();
}

} // namespace

class NotikoPrivate
{
public:
    NotikoPrivate(Notiko* control, NotificationArea* external)
        : q(control), ownedArea(external ? nullptr : createDesktopNotificationArea()),
          area(external ? external : ownedArea.get()), Picture1(new PictureBox(control)),
          picture(Picture::fromIcon(builtInIcon())), messageBox(&showCriticalBox)
    {
        Picture1->setObjectName(QStringLiteral("Picture1"));
        Picture1->setToolTip(defaultToolTip);
        showPicture();

        record.hWnd = windowhandles::acquire(Picture1);
        record.uID = 1;
        record.uFlags = NifMessage | NifIcon | NifTip;
        record.uCallbackMessage = MouseMove;
        record.hIcon = picture.handle();
        buildTip(record, Picture1->toolTip());
    }

    ~NotikoPrivate() { windowhandles::release(record.hWnd); }

    int notify(NotifyMessage message) { return area->notifyIcon(message, record); }

    // Adds or modifies the icon with a fresh tip; failures are reported only
    // when the error-message flag is set.
    int send(NotifyMessage message, const QString& failure)
    {
        buildTip(record, Picture1->toolTip());
        const int result = notify(message);
        if (result == 0 && errorMessage)
            messageBox(q, failure);
        return result;
    }

    void onPicture1MouseMove(double xTwips)
    {
        const int message = messageFromTwips(xTwips, Picture1->twipsPerPixelX());
        lastMessage = message;
        const QPointer<Notiko> alive(q);
        if (!busy) {
            // A click event is not raised again while the host still handles
            // one (a popup menu keeps the event loop running).
            busy = true;
            raiseClickEvent(message);
            if (!alive)
                return;
            busy = false;
        }
        // This notification's own number: a handler that ran the event loop may
        // have taken newer notifications meanwhile.
        int argument = message;
        emit q->MouseMsg(argument);
    }

    void raiseClickEvent(int message)
    {
        switch (message) {
        case Notiko::WM_LBUTTONDOWN:
            emit q->LeftClick();
            break;
        case Notiko::WM_LBUTTONDBLCLK:
            emit q->LeftDblClick();
            break;
        case Notiko::WM_RBUTTONDOWN:
            emit q->RightClick();
            break;
        case Notiko::WM_RBUTTONDBLCLK:
            emit q->RightDblClick();
            break;
        default:
            break;
        }
    }

    // A new picture resizes the control and goes into the record; the icon in
    // the notification area follows with the next Create or Modify.
    void pictureChanged()
    {
        showPicture();
        fitToPicture();
        record.hIcon = picture.handle();
    }

    void showPicture()
    {
        if (picture.isNull()) {
            Picture1->clear();
            return;
        }
        Picture1->setPixmap(picture.pixmap());
        Picture1->setFixedSize(picture.size());
    }

    // The control is its picture box plus 60 twips each way.
    void fitToPicture()
    {
        const int border = static_cast<int>(std::nearbyint(60.0 / Picture1->twipsPerPixelX()));
        Picture1->move(border / 2, border / 2);
        const QSize size = Picture1->size() + QSize(border, border);
        if (q->size() != size || q->minimumSize() != size)
            q->setFixedSize(size);
    }

    // Picture1 shows the container's background colour.
    void takeAmbientBackColor()
    {
        const QWidget* container = q->parentWidget() ? q->parentWidget() : q;
        const QColor color = container->palette().color(QPalette::Window);
        if (Picture1->palette().color(QPalette::Window) == color)
            return;
        QPalette palette = Picture1->palette();
        palette.setColor(QPalette::Window, color);
        Picture1->setPalette(palette);
    }

    void markChanged(const QString& name)
    {
        if (!changed.contains(name))
            changed.append(name);
    }

    Notiko* q;
    std::unique_ptr<NotificationArea> ownedArea;
    NotificationArea* area;
    PictureBox* Picture1;
    Picture picture;
    NotifyIconData record;
    bool errorMessage = true;
    int lastMessage = 0;
    bool busy = false;
    QStringList changed;
    Notiko::MessageBoxHook messageBox;
};

Notiko::Notiko(QWidget* parent) : Notiko(nullptr, parent) {}

Notiko::Notiko(NotificationArea* area, QWidget* parent)
    : QWidget(parent), d(std::make_unique<NotikoPrivate>(this, area))
{
    registerPictureConverters();
    connect(d->Picture1, &PictureBox::mouseMoved, this,
            [this](Qt::MouseButtons, Qt::KeyboardModifiers, double xTwips, double) {
                d->onPicture1MouseMove(xTwips);
            });
    d->fitToPicture();
    server::instanceCreated();
}

Notiko::~Notiko()
{
    // The icon goes away with the control; nobody is left to hear a failure.
    d->notify(NotifyMessage::Delete);
    server::instanceDestroyed();
}

QString Notiko::TextToolTip() const
{
    return d->Picture1->toolTip();
}

void Notiko::setTextToolTip(const QString& text)
{
    d->Picture1->setToolTip(text);
    d->markChanged(QStringLiteral("TextToolTip"));
}

Picture Notiko::Icon() const
{
    return d->picture;
}

void Notiko::setIcon(const Picture& picture)
{
    d->picture = picture;
    d->pictureChanged();
    d->markChanged(QStringLiteral("Icon"));
}

bool Notiko::ErrorMessage() const
{
    return d->errorMessage;
}

void Notiko::setErrorMessage(bool on)
{
    d->errorMessage = on;
    d->markChanged(QStringLiteral("ErrorMessage"));
}

int Notiko::Create()
{
    return d->send(NotifyMessage::Add, createFailed);
}

int Notiko::Modify()
{
    return d->send(NotifyMessage::Modify, modifyFailed);
}

int Notiko::Destroy()
{
    const int result = d->notify(NotifyMessage::Delete);
    if (result == 0)
        d->messageBox(this, createFailed); // whatever the error-message flag says
    return result;
}

void Notiko::ShowAbout()
{
    frmAbout about(this);
    about.exec();
}

void Notiko::ReadProperties(PropertyBag* bag)
{
    if (!bag)
        return;
    d->takeAmbientBackColor();
    d->Picture1->setToolTip(
        bag->readProperty(QStringLiteral("TextToolTip"), defaultToolTip).toString());
    d->picture = Picture::fromVariant(bag->readProperty(QStringLiteral("Icon"), QVariant()));
    d->pictureChanged();
    d->errorMessage = bag->readProperty(QStringLiteral("ErrorMessage"), true).toBool();
    d->changed.clear();
}

void Notiko::WriteProperties(PropertyBag* bag) const
{
    if (!bag)
        return;
    bag->writeProperty(QStringLiteral("TextToolTip"), d->Picture1->toolTip(), defaultToolTip);
    bag->writeProperty(QStringLiteral("Icon"), d->picture.toVariant(), QVariant());
    bag->writeProperty(QStringLiteral("ErrorMessage"), d->errorMessage, true);
}

QStringList Notiko::ChangedProperties() const
{
    return d->changed;
}

const NotifyIconData& Notiko::notifyIconData() const
{
    return d->record;
}

void Notiko::setMessageBoxHook(MessageBoxHook hook)
{
    d->messageBox = hook ? std::move(hook) : MessageBoxHook(&showCriticalBox);
}

void Notiko::changeEvent(QEvent* event)
{
    // Of the container's ambient changes only the background colour matters.
    if (event->type() == QEvent::PaletteChange)
        d->takeAmbientBackColor();
    QWidget::changeEvent(event);
}

void Notiko::paintEvent(QPaintEvent* event)
{
    d->takeAmbientBackColor();
    d->fitToPicture();
    QWidget::paintEvent(event);
}

void Notiko::resizeEvent(QResizeEvent* event)
{
    d->fitToPicture();
    QWidget::resizeEvent(event);
}
