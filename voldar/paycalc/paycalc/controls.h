#pragma once

#include <array>
#include <QString>
#include <QStringView>
#include <span>

namespace paycalc {

// The controls of the main window that the engine reads or writes. Each value is
// the number in the control's name, so objectName() gives the Designer name
// ("Combo7", "Label36") that the window looks its widget up by.

enum class List
{
    Combo1 = 1,
    Combo2,
    Combo3,
    Combo4,
    Combo5,
    Combo6,
    Combo7,
    Combo8,
    Combo9,
    Combo10,
    Combo11,
    Combo12,
    Combo13,
    Combo14,
    Combo15,
    Combo16
};

// Free-entry boxes.
enum class Box
{
    Text1 = 1,
    Text2,
    Text3,
    Text4,
    Text5
};

// Check boxes and the two premium option buttons.
enum class Switch
{
    Check1 = 1,
    Check2,
    Check3,
    Check4,
    Check5,
    Check6,
    Option1,
    Option2
};

// Amount and hand-over labels the engine writes captions into.
enum class Label
{
    Label21 = 21,
    Label22,
    Label23,
    Label24,
    Label25,
    Label26,
    Label27,
    Label28,
    Label29,
    Label30,
    Label31,
    Label35 = 35,
    Label36,
    Label39 = 39,
    Label40,
    Label41,
    Label45 = 45,
    Label47 = 47,
    Label52 = 52,
    Label56 = 56,
    Label57,
    Label58,
    Label59,
    Label60,
    Label61,
    Label62,
    Label63,
    Label64,
    Label65
};

// Every label above, in number order.
inline constexpr std::array<Label, 29> Labels = {
    Label::Label21, Label::Label22, Label::Label23, Label::Label24, Label::Label25, Label::Label26,
    Label::Label27, Label::Label28, Label::Label29, Label::Label30, Label::Label31, Label::Label35,
    Label::Label36, Label::Label39, Label::Label40, Label::Label41, Label::Label45, Label::Label47,
    Label::Label52, Label::Label56, Label::Label57, Label::Label58, Label::Label59, Label::Label60,
    Label::Label61, Label::Label62, Label::Label63, Label::Label64, Label::Label65};

// Hidden index mirrors Txt1..Txt10.
enum class Mirror
{
    Txt1 = 1,
    Txt2,
    Txt3,
    Txt4,
    Txt5,
    Txt6,
    Txt7,
    Txt8,
    Txt9,
    Txt10
};

// Window timers whose start and stop are engine behaviour.
enum class Timer
{
    Timer1 = 1,
    Timer2,
    Timer3,
    Timer4,
    Timer5,
    Timer6,
    Timer7,
    Timer8,
    Timer9
};

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

// What a screen reader announces for a control of the main window: the row
// caption beside it, blanks collapsed; an amount label adds ", сумма" to its
// row's caption. The entries follow the sheet from top to bottom.
struct AccessibleName
{
    QStringView objectName;
    QStringView name;
};
std::span<const AccessibleName> accessibleNames();

} // namespace paycalc
