#include "waylandkeyboard.h"

#include "layoutwatcher.h"
#include "platform/windowsystem.h"
#include "x11keyboard.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QLocale>

namespace platform::wayland {
namespace {

// Qt reports the input language only when the compositor tells it; the
// locale Qt gives before that is the system's, which says nothing about the
// keyboard, so it is never read.
class InputLanguageWatcher : public LayoutWatcher
{
    Q_OBJECT

public:
    explicit InputLanguageWatcher(QObject* parent) : LayoutWatcher(parent)
    {
        connect(QGuiApplication::inputMethod(), &QInputMethod::localeChanged, this,
                &InputLanguageWatcher::onLanguageReported);
    }

    std::uint32_t layout() override { return m_layout; }
    bool notifies() const override { return true; }

private:
    void onLanguageReported()
    {
        const std::uint32_t reported = layoutOf(QGuiApplication::inputMethod()->locale());
        if (reported == m_layout)
            return;
        m_layout = reported;
        emit layoutChanged();
    }

    std::uint32_t m_layout = 0;
};

} // namespace

std::uint32_t layoutOf(const QLocale& language)
{
    if (language.language() == QLocale::Russian)
        return x11::windowsLayout(x11::languageOf(QStringLiteral("ru")));
    if (language.language() == QLocale::English && language.territory() == QLocale::UnitedStates)
        return x11::windowsLayout(x11::languageOf(QStringLiteral("us")));
    return 0;
}

LayoutWatcher* layoutWatcher()
{
    if (!isNativeWayland())
        return nullptr;
    auto* watcher =
        qGuiApp->findChild<InputLanguageWatcher*>(QString(), Qt::FindDirectChildrenOnly);
    return watcher ? watcher : new InputLanguageWatcher(qGuiApp);
}

} // namespace platform::wayland

#include "waylandkeyboard.moc"
