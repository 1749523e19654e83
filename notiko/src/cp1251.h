#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// Windows-1251, the 8-bit code page of the notification tip, with our own table
// so that nothing depends on how Qt was built. Characters the code page cannot
// hold become '?'.
namespace notiko::cp1251 {

QByteArray encode(QStringView text);
QString decode(QByteArrayView bytes);

} // namespace notiko::cp1251
