#include "paycalc/controls.h"

namespace paycalc {

namespace {

QString numbered(QStringView stem, int number)
{
    return stem + QString::number(number);
}

} // namespace

QString objectName(List list)
{
    return numbered(u"Combo", static_cast<int>(list));
}

QString objectName(Box box)
{
    return numbered(u"Text", static_cast<int>(box));
}

QString objectName(Switch control)
{
    switch (control) {
    case Switch::Option1:
        return QStringLiteral("Option1");
    case Switch::Option2:
        return QStringLiteral("Option2");
    default:
        return numbered(u"Check", static_cast<int>(control));
    }
}

QString objectName(Label label)
{
    return numbered(u"Label", static_cast<int>(label));
}

QString objectName(Mirror mirror)
{
    return numbered(u"Txt", static_cast<int>(mirror));
}

QString objectName(Timer timer)
{
    return numbered(u"Timer", static_cast<int>(timer));
}

bool hasMirror(List list)
{
    switch (list) {
    case List::Combo1:
    case List::Combo2:
    case List::Combo3:
    case List::Combo4:
    case List::Combo5:
    case List::Combo6:
    case List::Combo7:
    case List::Combo8:
    case List::Combo9:
    case List::Combo11:
        return true;
    default:
        return false;
    }
}

Mirror mirrorOf(List list)
{
    // The mirrors follow the lists' top-to-bottom order in the window, which
    // puts the secrecy-unit list (Combo11) before the cipher list.
    switch (list) {
    case List::Combo7:
        return Mirror::Txt8;
    case List::Combo8:
        return Mirror::Txt9;
    case List::Combo9:
        return Mirror::Txt10;
    case List::Combo11:
        return Mirror::Txt7;
    default:
        return static_cast<Mirror>(static_cast<int>(list));
    }
}

List listOf(Mirror mirror)
{
    switch (mirror) {
    case Mirror::Txt7:
        return List::Combo11;
    case Mirror::Txt8:
        return List::Combo7;
    case Mirror::Txt9:
        return List::Combo8;
    case Mirror::Txt10:
        return List::Combo9;
    default:
        return static_cast<List>(static_cast<int>(mirror));
    }
}

} // namespace paycalc
