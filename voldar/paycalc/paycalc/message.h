#pragma once

#include <QString>

namespace paycalc {

// A modal message box as data: the engine decides text, title and icon, the
// window shows it. Pieces of a text are joined with single CR characters.
struct Message
{
    enum class Icon { None, Information, Warning, Error, Question };

    QString text;
    QString title;
    Icon icon = Icon::None;

    friend bool operator==(const Message&, const Message&) = default;
};

// " Не найдена папка Data " / " Ошибка " / error icon: every salary-file failure.
Message dataFolderNotFound();

} // namespace paycalc
