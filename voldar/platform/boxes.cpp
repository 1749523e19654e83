#include "platform/boxes.h"

#include <QMessageBox>

namespace platform {

bool showBox(QWidget* parent, const Box& box)
{
    // Texts join their pieces with bare CR; a Qt label breaks lines only at LF.
    QString text = box.text;
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));

    switch (box.kind) {
    case Box::Kind::Question:
        return QMessageBox::question(parent, box.title, text, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::Yes) == QMessageBox::Yes;
    case Box::Kind::Error:
        QMessageBox::critical(parent, box.title, text);
        return true;
    case Box::Kind::Information:
        QMessageBox::information(parent, box.title, text);
        return true;
    }
    return true;
}

} // namespace platform
