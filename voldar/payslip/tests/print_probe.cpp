// Helper of print_cups.sh, not a test by itself.
//   print_probe print        fills a pay-slip viewer and prints it on the
//                            default printer through printWidgetImage
//   print_probe check <png>  checks that a rendered page is not blank
#include "paycalc/cp1251.h"
#include "payslip/form9.h"
#include "payslip/payslipfile.h"
#include "payslip/printing.h"

#include <cstdio>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

int printViewer()
{
    QTemporaryDir program;
    QDir(program.path()).mkpath(u"Data/Lists"_s);
    const QString slip = program.path() + u"/Data/Lists/Март 2008.txt";
    payslip::PaySlipValues values;
    for (int field = 0; field < payslip::PaySlipFieldCount; ++field)
        values[field] = QString::number(1234.5 + field * 100) + u" руб.";
    QFile file(slip);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(paycalc::cp1251::encodeLines(payslip::paySlipLines(values))) < 0)
        return 2;
    file.close();

    payslip::Form9 viewer(program.path() + u"/Data"_s);
    viewer.setAttribute(Qt::WA_DeleteOnClose, false);
    viewer.openPaySlip(slip);
    viewer.show();
    QCoreApplication::processEvents();

    const payslip::PrintResult result = payslip::printWidgetImage(viewer.centralWidget());
    if (!result.printed) {
        std::fprintf(stderr, "not printed: %s\n", qPrintable(result.failure));
        return 1;
    }
    std::printf("printed\n");
    return 0;
}

// A page is not blank when a fair share of it is dark (text and ruled lines)
// and it is not dark all over.
int checkPage(const QString& path)
{
    const QImage page = QImage(path).convertToFormat(QImage::Format_Grayscale8);
    if (page.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return 1;
    }
    qint64 dark = 0;
    for (int y = 0; y < page.height(); ++y) {
        const uchar* line = page.constScanLine(y);
        for (int x = 0; x < page.width(); ++x)
            dark += line[x] < 160 ? 1 : 0;
    }
    const double share = double(dark) / (qint64(page.width()) * page.height());
    std::printf("page %dx%d, dark share %.4f\n", page.width(), page.height(), share);
    return share > 0.002 && share < 0.5 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 2 && args[1] == u"print")
        return printViewer();
    if (args.size() == 3 && args[1] == u"check")
        return checkPage(args[2]);
    std::fprintf(stderr, "usage: print_probe print | check <png>\n");
    return 2;
}
