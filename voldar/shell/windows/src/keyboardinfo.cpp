#include "windows/keyboardinfo.h"

#include "platform/platform.h"

#include <array>

namespace shellwindows {

KeyboardQueries systemKeyboard()
{
    const platform::KeyboardLayoutSource source;
    return {&platform::keyboardType, [source] { return source.current(); },
            [source](QObject* context, std::function<void()> changed) {
                return source.onChange(context, std::move(changed));
            }};
}

std::optional<QString> keyboardTypeText(int type)
{
    static const std::array<QString, 7> texts = {
        QStringLiteral("83 - клавишная клавиатура для PC или совместимых компьютеров"),
        QStringLiteral("102 - клавишная клавиатура Olivetti"),
        QStringLiteral("84 - клавишная клавиатура для AT или совместимых компьютеров"),
        QStringLiteral("Расширенная 101\\102 - клавишная клавиатура"),
        QStringLiteral("Клавиатура Nokia 1050"),
        QStringLiteral("Клавиатура Nokia 9140"),
        QStringLiteral("Японская клавиатура"),
    };
    if (type < 1 || type > static_cast<int>(texts.size()))
        return std::nullopt;
    return texts[static_cast<std::size_t>(type - 1)];
}

QString keyboardSubtypeText(int subtype)
{
    return QString::number(subtype);
}

QString functionKeysText(int count)
{
    return QString::number(count) + QStringLiteral(" функциональных клавиш");
}

std::optional<QString> layoutName(std::uint32_t layout)
{
    if (layout == EnglishUsLayout)
        return QStringLiteral("Английская");
    if (layout == RussianLayout)
        return QStringLiteral("Русская");
    return std::nullopt;
}

std::optional<QString> LayoutWatch::read(std::uint32_t layout)
{
    m_last = layout;
    return layoutName(layout);
}

std::optional<QString> LayoutWatch::poll(std::uint32_t layout)
{
    if (layout == m_last)
        return std::nullopt;
    return read(layout);
}

} // namespace shellwindows
