#pragma once

// The title of every window of the program; each carries the product name.
namespace titles {

inline constexpr char16_t Form1[] = u"   ~ Voldar ™   v.3.0  i ~";
inline constexpr char16_t Form2[] = u" ~ О программе Voldar ™ ~";
inline constexpr char16_t Form3[] = u"   ~ Voldar ™ Печать ~";
inline constexpr char16_t Form4[] = u" ~Voldar ™ Калькулятор~";
inline constexpr char16_t Form5[] = u"  ~ Voldar ™  Выслуга ~";
inline constexpr char16_t Form6[] = u" ~ Voldar ™   Клавиатура  ~";
inline constexpr char16_t Form7[] = u" ~ Voldar ™   Обновление  ~";
inline constexpr char16_t Form8[] = u" ~ Voldar ™   Пенсия  ~";
inline constexpr char16_t Form9[] = u" ~ Voldar ™   Расчетный листок  ~";
inline constexpr char16_t FormHistory[] = u" ~ Voldar ™   История выплат  ~";
inline constexpr char16_t FormIndexation[] = u" ~ Voldar ™   Индексация окладов  ~";
inline constexpr char16_t FormTodayPay[] =
    u" ~ Voldar ™   Денежное довольствие по действующим правилам  ~";

} // namespace titles
