#pragma once

#include <functional>
#include <memory>
#include <notiko/notiko_export.h>
#include <QDialog>

class QUrl;

namespace Ui {
class frmAbout;
}

// The control's About window: who made it, how to write to them, and an
// example of handling the mouse messages.
class NOTIKO_EXPORT frmAbout final : public QDialog
{
    Q_OBJECT

public:
    // Opens a link with the desktop's default handler.
    using UrlOpener = std::function<void(const QUrl&)>;

    explicit frmAbout(QWidget* parent = nullptr);
    ~frmAbout() override;

    void setUrlOpener(UrlOpener opener);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onLblMailClick();
    void setLblMailColor(const QColor& color);

    std::unique_ptr<Ui::frmAbout> ui;
    UrlOpener m_openUrl;
};
