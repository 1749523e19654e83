#pragma once

#include <QString>

namespace paycalc {

// The controls of the main window that the engine reads or writes. Each value is
// the number in the control's name, so objectName() gives the Designer name
// ("Combo7", "Label36") that the window looks its widget up by.

enum class List { Combo1 = 1, Combo2, Combo3, Combo4, Combo5, Combo6, Combo7, Combo8,
                  Combo9, Combo10, Combo11, Combo12, Combo13, Combo14, Combo15, Combo16 };

// Free-entry boxes.
enum class Box { Text1 = 1, Text2, Text3, Text4, Text5 };

// Check boxes and the two premium option buttons.
enum class Switch { Check1 = 1, Check2, Check3, Check4, Check5, Check6, Option1, Option2 };

// Amount and hand-over labels the engine writes captions into.
enum class Label {
    Label21 = 21, Label22, Label23, Label24, Label25, Label26, Label27, Label28, Label29,
    Label30, Label31,
    Label35 = 35, Label36,
    Label39 = 39, Label40, Label41,
    Label45 = 45,
    Label47 = 47,
    Label52 = 52,
    Label56 = 56, Label57, Label58, Label59, Label60, Label61, Label62, Label63, Label64,
    Label65
};

// Hidden index mirrors Txt1..Txt10.
enum class Mirror { Txt1 = 1, Txt2, Txt3, Txt4, Txt5, Txt6, Txt7, Txt8, Txt9, Txt10 };

// Window timers whose start and stop are engine behaviour.
enum class Timer { Timer1 = 1, Timer2, Timer3, Timer4, Timer5, Timer6, Timer7, Timer8, Timer9 };

QString objectName(List list);
QString objectName(Box box);
QString objectName(Switch control);
QString objectName(Label label);
QString objectName(Mirror mirror);
QString objectName(Timer timer);

// The mirror a list writes its index into, if it has one.
bool hasMirror(List list);
Mirror mirrorOf(List list);

// The list whose index a mirror holds (Txt7 holds Combo11, Txt8 Combo7, ...).
List listOf(Mirror mirror);

} // namespace paycalc
