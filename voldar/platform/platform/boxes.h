#pragma once

#include <functional>
#include <QString>

class QWidget;

namespace platform {

// A modal message or question box as data, so that a window's boxes can be
// recorded and answered by a caller (tests) instead of a real dialog.
// Pieces of a text are joined with single CR characters.
struct Box
{
    enum class Kind
    {
        Information,
        Error,
        Question
    };

    Kind kind = Kind::Information;
    QString title;
    QString text;

    friend bool operator==(const Box&, const Box&) = default;
};

// Shows `box` over `parent` and returns when it is closed: true for "Yes" (or
// "OK" of a box without a choice), false for "No".
using BoxHook = std::function<bool(QWidget* parent, const Box& box)>;

// The real modal box: OK for information and errors, Yes/No (Yes first and
// default) for questions. CR characters become line breaks on screen.
bool showBox(QWidget* parent, const Box& box);

// Opens a web address with the user's default handler.
using DocumentOpener = std::function<void(const QString& address)>;

// The title of a box that carries none of its own: the program's name.
inline constexpr char16_t DefaultBoxTitle[] = u"Voldar";

} // namespace platform
