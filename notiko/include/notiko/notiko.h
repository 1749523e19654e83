#pragma once

#include <functional>
#include <memory>
#include <notiko/notiko_export.h>
#include <notiko/picture.h>
#include <notiko/propertybag.h>
#include <QWidget>

namespace notiko {
class NotificationArea;
struct NotifyIconData;
} // namespace notiko

class NotikoPrivate;

// The tray-icon control: one icon in the taskbar notification area per
// instance, showing the picture of the inner picture box Picture1 with its
// tool-tip text, and reporting mouse actions on that icon as events. Hosts use
// it late-bound: the members below are its type information (properties,
// invokable methods, signals as events, class info as description strings).
class NOTIKO_EXPORT Notiko : public QWidget
{
    Q_OBJECT
    Q_CLASSINFO("ProgID", "NotikoLib.Notiko")
    Q_CLASSINFO("TypeLibrary", "NotikoLib")
    Q_CLASSINFO("TypeLibraryDescription", "notiko.OCX - Add icon to the taskbar notification area")
    Q_CLASSINFO("Description", "Add icon to the taskbar notification area")
    Q_CLASSINFO("FileVersion", "1.9.0.23")
    Q_CLASSINFO("AboutBox", "ShowAbout")
    Q_CLASSINFO("Description:TextToolTip",
                "Returns/sets the text displayed when the mouse is paused over the control.")
    Q_CLASSINFO("Description:Create", "Forces a complete create of a NotikoLib.")
    Q_CLASSINFO("Description:Modify", "Forces a complete modify of a NotikoLib.")
    Q_CLASSINFO("Description:Destroy", "Forces a complete destroy of a NotikoLib.")
    Q_CLASSINFO("Description:ShowAbout", "About Me")
    Q_CLASSINFO("Description:Icon",
                "Returns/sets a graphic to be displayed in a control.(NB! - ICON!)")
    Q_CLASSINFO("Description:ErrorMessage", "Returns/sets a error message on/off")
    Q_CLASSINFO("Description:MouseMsg", "Returns Mouse Messages.")
    Q_PROPERTY(QString TextToolTip READ TextToolTip WRITE setTextToolTip)
    Q_PROPERTY(notiko::Picture Icon READ Icon WRITE setIcon)
    Q_PROPERTY(bool ErrorMessage READ ErrorMessage WRITE setErrorMessage)

public:
    // Mouse messages as MouseMsg reports them.
    enum Msg
    {
        WM_MOUSEMOVE = 0x200,
        WM_LBUTTONDBLCLK = 0x203,
        WM_LBUTTONDOWN = 0x201,
        WM_LBUTTONUP = 0x202,
        WM_RBUTTONDBLCLK = 0x206,
        WM_RBUTTONDOWN = 0x204,
        WM_RBUTTONUP = 0x205,
    };
    Q_ENUM(Msg)

    // Shows a failure message; the default is a modal critical-stop box.
    using MessageBoxHook = std::function<void(QWidget* parent, const QString& text)>;

    // Uses the desktop's notification area.
    explicit Notiko(QWidget* parent = nullptr);
    // Uses the given notification area, which must outlive the control.
    Notiko(notiko::NotificationArea* area, QWidget* parent);
    ~Notiko() override;

    QString TextToolTip() const;
    void setTextToolTip(const QString& text);
    notiko::Picture Icon() const;
    void setIcon(const notiko::Picture& picture);
    bool ErrorMessage() const;
    void setErrorMessage(bool on);

    // Adds, updates and removes the icon; nonzero for success, 0 for failure.
    Q_INVOKABLE int Create();
    Q_INVOKABLE int Modify();
    Q_INVOKABLE int Destroy();
    Q_INVOKABLE void ShowAbout();

    // The container's property store: restored when the host loads the control,
    // saved when it saves it.
    Q_INVOKABLE void ReadProperties(notiko::PropertyBag* bag);
    Q_INVOKABLE void WriteProperties(notiko::PropertyBag* bag) const;
    // Names of the properties changed since the control was created or restored.
    Q_INVOKABLE QStringList ChangedProperties() const;

    // The record sent with every notification-area operation.
    const notiko::NotifyIconData& notifyIconData() const;
    void setMessageBoxHook(MessageBoxHook hook);

signals:
    void LeftClick();
    void RightClick();
    void MouseMsg(int& Msg);
    void LeftDblClick();
    void RightDblClick();

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    std::unique_ptr<NotikoPrivate> d;
};
