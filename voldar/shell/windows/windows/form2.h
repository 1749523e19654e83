#pragma once

#include "platform/boxes.h"

#include <memory>
#include <QWidget>

namespace Ui {
class Form2;
}

// The About window: the program's name, version, author and site. Its size is
// fixed; the logo, the name, the author and the site address open their pages.
// Closing the window deletes it.
class Form2 : public QWidget
{
    Q_OBJECT

public:
    // `open` replaces the default handler that opens the pages (tests).
    explicit Form2(QWidget* parent = nullptr, platform::DocumentOpener open = {});
    ~Form2() override;

    // The fixed client size, 5010 x 4500 twips, at this screen's resolution.
    QSize designSize() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onPicture1Click();
    void onLabel1Click();
    void onLabel3Click();
    void onLabel5Click();

    std::unique_ptr<Ui::Form2> m_ui;
    platform::DocumentOpener m_open;
};
