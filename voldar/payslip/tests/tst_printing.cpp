#include "payslip/form3.h"
#include "payslip/form9.h"
#include "payslip/printing.h"
#include "payslip/printlook.h"
#include "payslip/printsequence.h"
#include "platform/titles.h"
#include "testfolder.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using namespace Qt::StringLiterals;
using paycalc::Message;
using payslip::Look;

namespace {

// A window with one element of every kind of look.
class LookWindow : public QWidget
{
public:
    LookWindow()
    {
        setObjectName(u"Form1"_s);
        const auto add = [this](QWidget* widget, const QString& name) {
            widget->setObjectName(name);
            widget->setParent(this);
            return widget;
        };
        add(new QLabel, u"Label1"_s);
        add(new QLabel, u"Label2"_s);
        add(new QLabel, u"Label3"_s);
        add(new QPushButton, u"Command1"_s);
        add(new QLabel, u"Label50"_s)->hide();
        add(new QLabel, u"Banner"_s)->hide();
        add(new QComboBox, u"Combo14"_s)->setEnabled(false);
        resize(300, 200);
    }

    QWidget* element(const QString& name) const
    {
        return name == objectName() ? const_cast<LookWindow*>(this) : findChild<QWidget*>(name);
    }

    static std::vector<payslip::LookEntry> table()
    {
        return {{u"Form1"_s, Look::Page},      {u"Label1"_s, Look::Page},
                {u"Label2"_s, Look::Amount},   {u"Label3"_s, Look::Teal},
                {u"Command1"_s, Look::Hidden}, {u"Label50"_s, Look::PaperOnly},
                {u"Banner"_s, Look::Banner},   {u"Combo14"_s, Look::Enabled},
                {u"NoSuchLabel"_s, Look::Page}};
    }
};

bool hasPrintLook(const LookWindow& window)
{
    return payslip::backgroundOf(&window) == payslip::paperWhite() &&
           payslip::backgroundOf(window.element(u"Label1"_s)) == payslip::paperWhite() &&
           payslip::backgroundOf(window.element(u"Label2"_s)) == payslip::paperWhite() &&
           payslip::backgroundOf(window.element(u"Label3"_s)) == payslip::amountTeal() &&
           window.element(u"Command1"_s)->isHidden() && !window.element(u"Label50"_s)->isHidden() &&
           !window.element(u"Banner"_s)->isHidden() &&
           payslip::backgroundOf(window.element(u"Banner"_s)) == payslip::amountTeal() &&
           window.element(u"Combo14"_s)->isEnabled();
}

bool hasNormalLook(const LookWindow& window)
{
    return payslip::backgroundOf(&window) == payslip::pageGreen() &&
           payslip::backgroundOf(window.element(u"Label1"_s)) == payslip::pageGreen() &&
           payslip::backgroundOf(window.element(u"Label2"_s)) == payslip::amountTeal() &&
           payslip::backgroundOf(window.element(u"Label3"_s)) == payslip::amountTeal() &&
           !window.element(u"Command1"_s)->isHidden() && window.element(u"Label50"_s)->isHidden() &&
           window.element(u"Banner"_s)->isHidden() &&
           payslip::backgroundOf(window.element(u"Banner"_s)) == payslip::pageGreen() &&
           !window.element(u"Combo14"_s)->isEnabled();
}

} // namespace

class TestPrinting : public QObject
{
    Q_OBJECT

private slots:
    void lookSwitchesEveryElementBothWays();
    void enablingGoesThroughTheWindowsHook();
    void printShowsTheWaitWindowUntilTimer4Restores();
    void secondPrintRestartsTheRestore();
    void failedPrintRestoresAtOnce();
    void waitWindow();
    void noPrinterIsReportedNotPrintedElsewhere();
    void viewerReportsMissingPrinter();
};

void TestPrinting::lookSwitchesEveryElementBothWays()
{
    LookWindow window;
    window.show();
    const payslip::PrintLook look(&window, LookWindow::table());
    QCOMPARE(look.missingNames(), QStringList{u"NoSuchLabel"_s});

    look.applyPrintLook();
    QVERIFY(hasPrintLook(window));
    look.applyNormalLook();
    QVERIFY(hasNormalLook(window));

    // The restore sets the normal state whatever the element was before.
    window.element(u"Command1"_s)->hide();
    window.element(u"Combo14"_s)->setEnabled(true);
    look.applyNormalLook();
    QVERIFY(hasNormalLook(window));
}

void TestPrinting::enablingGoesThroughTheWindowsHook()
{
    LookWindow window;
    std::vector<std::pair<QString, bool>> calls;
    const payslip::PrintLook look(&window, LookWindow::table(), [&](QWidget* widget, bool on) {
        calls.emplace_back(widget->objectName(), on);
    });
    look.applyPrintLook();
    look.applyNormalLook();
    QCOMPARE(calls.size(), 2u);
    QCOMPARE(calls[0], std::make_pair(u"Combo14"_s, true));
    QCOMPARE(calls[1], std::make_pair(u"Combo14"_s, false));
}

void TestPrinting::printShowsTheWaitWindowUntilTimer4Restores()
{
    LookWindow window;
    window.show();
    payslip::PrintSequence sequence(&window, &window,
                                    payslip::PrintLook(&window, LookWindow::table()));
    int prints = 0;
    bool printLookOnPaper = false;
    sequence.setPrintHook([&](QWidget* widget) {
        ++prints;
        printLookOnPaper = widget == &window && hasPrintLook(window);
        return payslip::PrintResult{true, {}};
    });
    QCOMPARE(sequence.Timer4().objectName(), u"Timer4"_s);
    QVERIFY(!sequence.Timer4().isActive());

    QVERIFY(!sequence.print());
    QCOMPARE(prints, 1);
    QVERIFY(printLookOnPaper);
    QVERIFY(hasPrintLook(window));
    QVERIFY(sequence.waitWindow() && sequence.waitWindow()->isVisible());
    QCOMPARE(sequence.waitWindow()->parentWidget(), &window);
    QVERIFY(sequence.Timer4().isActive());
    QVERIFY(sequence.Timer4().isSingleShot());
    QCOMPARE(sequence.Timer4().interval(), 6000);

    QMetaObject::invokeMethod(&sequence.Timer4(), "timeout");
    QVERIFY(hasNormalLook(window));
    QVERIFY(!sequence.waitWindow()->isVisible());
    QVERIFY(!sequence.Timer4().isActive());
}

void TestPrinting::secondPrintRestartsTheRestore()
{
    LookWindow window;
    window.show();
    payslip::PrintSequence sequence(&window, &window,
                                    payslip::PrintLook(&window, LookWindow::table()));
    int prints = 0;
    sequence.setPrintHook([&](QWidget*) {
        ++prints;
        return payslip::PrintResult{true, {}};
    });
    QVERIFY(!sequence.print());
    payslip::Form3* wait = sequence.waitWindow();
    QVERIFY(!sequence.print());
    QCOMPARE(prints, 2);
    QCOMPARE(sequence.waitWindow(), wait); // one wait window, shown again
    QVERIFY(sequence.Timer4().isActive());
    sequence.onTimer4Timer();
    QVERIFY(hasNormalLook(window));
    QVERIFY(!wait->isVisible());
}

void TestPrinting::failedPrintRestoresAtOnce()
{
    LookWindow window;
    window.show();
    payslip::PrintSequence sequence(&window, &window,
                                    payslip::PrintLook(&window, LookWindow::table()));
    sequence.setPrintHook([](QWidget*) {
        return payslip::PrintResult{false, u"Принтер не установлен"_s};
    });
    const std::optional<Message> box = sequence.print();
    QVERIFY(box);
    QCOMPARE(*box, Message({u"Документ не напечатан\rПринтер не установлен"_s, u"Ошибка"_s,
                            Message::Icon::Error}));
    QVERIFY(hasNormalLook(window));
    QVERIFY(!sequence.waitWindow() || !sequence.waitWindow()->isVisible());
    QVERIFY(!sequence.Timer4().isActive());
}

void TestPrinting::waitWindow()
{
    payslip::Form3 form;
    QCOMPARE(form.windowTitle(), QString::fromUtf16(titles::Form3));
    QCOMPARE(form.text(), u"Пожалуйста подождите       идет печать документа ..."_s);
    QCOMPARE(form.palette().color(QPalette::Window), QColor(Qt::white));
    QCOMPARE(form.size(), QSize(248, 214)); // 3720 x 3210 twips at 15 twips a pixel
    const auto* picture = form.findChild<QLabel*>(u"Picture1"_s);
    QVERIFY(picture && !picture->pixmap().isNull());
    const auto* text = form.findChild<QLabel*>(u"Label1"_s);
    QCOMPARE(text->font().family(), u"Comic Sans MS"_s);
    QCOMPARE(form.geometry().center(), form.screen()->availableGeometry().center());
}

void TestPrinting::noPrinterIsReportedNotPrintedElsewhere()
{
    // CUPS_SERVER points at a socket nobody listens on (see main below).
    LookWindow window;
    window.show();
    const payslip::PrintResult result = payslip::printWidgetImage(&window);
    QVERIFY(!result.printed);
    QCOMPARE(result.failure, u"Принтер не установлен"_s);

    payslip::PrintSequence sequence(&window, &window,
                                    payslip::PrintLook(&window, LookWindow::table()));
    const std::optional<Message> box = sequence.print();
    QVERIFY(box);
    QCOMPARE(box->icon, Message::Icon::Error);
    QVERIFY(hasNormalLook(window));
    QVERIFY(!sequence.Timer4().isActive());
}

void TestPrinting::viewerReportsMissingPrinter()
{
    payslip::test::ProgramFolder folder;
    payslip::Form9 viewer(folder.data());
    viewer.setAttribute(Qt::WA_DeleteOnClose, false);
    std::vector<Message> boxes;
    viewer.setMessageHook([&](QWidget*, const Message& box) { boxes.push_back(box); });
    viewer.show();
    viewer.findChild<QAction*>(u"print"_s)->trigger();
    QCOMPARE(boxes.size(), 1u);
    QCOMPARE(boxes[0].text, u"Документ не напечатан\rПринтер не установлен"_s);
}

int main(int argc, char** argv)
{
    // No print server: the printing system finds no printer at all.
    qputenv("CUPS_SERVER", "/nonexistent/voldar-test-cups.sock");
    QApplication app(argc, argv);
    TestPrinting test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_printing.moc"
