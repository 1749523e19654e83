#include "paycalc/message.h"

namespace paycalc {

Message dataFolderNotFound()
{
    return {QStringLiteral(" Не найдена папка Data "), QStringLiteral(" Ошибка "),
            Message::Icon::Error};
}

} // namespace paycalc
