#pragma once

#include <QString>

// Who made the control, as its About window names them.
namespace notiko::developer {

inline QString line()
{
    return QStringLiteral("Разработка: Н. Тихонравов, г. Тверь, март 2009 г.");
}

// The one place the developer's address is kept.
inline constexpr char mail[] = "notiko.dev@example.org";

} // namespace notiko::developer
