#include "payslip/form3.h"

#include "platform/pictures.h"
#include "platform/titles.h"
#include "ui_form3.h"

#include <QPalette>
#include <QScreen>

// The library's resources are linked in statically and must be registered
// before the first form that uses them is built.
static void initPayslipResources()
{
    Q_INIT_RESOURCE(payslip);
}

namespace payslip {

Form3::Form3(QWidget* parent) : QWidget(parent, Qt::Window), ui(std::make_unique<Ui::Form3>())
{
    initPayslipResources();
    ui->setupUi(this);
    ui->Picture1->setPixmap(
        platform::picture(QStringLiteral(":/payslip/printer.png"), devicePixelRatio()));
    setWindowTitle(QString::fromUtf16(titles::Form3));

    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    if (const QScreen* display = screen())
        move(display->availableGeometry().center() - rect().center());
}

Form3::~Form3() = default;

QString Form3::text() const
{
    return ui->Label1->text();
}

} // namespace payslip
