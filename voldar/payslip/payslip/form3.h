#pragma once

#include <memory>
#include <QWidget>

namespace Ui {
class Form3;
}

namespace payslip {

// The wait window shown while the main window keeps its print look: a
// picture and "Пожалуйста подождите ... идет печать документа ...". It opens
// in the middle of the screen.
class Form3 : public QWidget
{
    Q_OBJECT

public:
    explicit Form3(QWidget* parent = nullptr);
    ~Form3() override;

    QString text() const;

private:
    std::unique_ptr<Ui::Form3> ui;
};

} // namespace payslip
