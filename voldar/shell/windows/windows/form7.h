#pragma once

#include "platform/boxes.h"
#include "windows/updatecheck.h"

#include <memory>
#include <QUrl>
#include <QWidget>

namespace Ui {
class Form7;
}

// The update-check window: fetches the version file from the program's site,
// compares it with this program's version and offers the download page when
// they differ. The transfer runs in the background; the window stays usable.
// Closing the window (or "Выход") deletes it and abandons a running transfer.
class Form7 : public QWidget
{
    Q_OBJECT

public:
    // The program's version file on its site.
    static QUrl defaultVersionFile();

    // `versionFile`, `box` and `open` replace the site's version file, the real
    // message boxes and the default browser (tests); empty ones keep the real.
    explicit Form7(QWidget* parent = nullptr, QUrl versionFile = defaultVersionFile(),
                   platform::BoxHook box = {}, platform::DocumentOpener open = {});
    ~Form7() override;

    // Compares the server's version (in Label5) with ours and reports.
    void CheckVers();
    // Opens the download page in the default browser.
    void LaunchDownloadSite();

private:
    void onCommand1Clicked();
    void onCommand2Clicked();
    void onTransferStateChanged(int state);
    void onTransferFinished(shellwindows::UpdateCheck::Outcome outcome,
                            const QString& serverVersion);
    void setStatusColour(const QColor& colour);

    std::unique_ptr<Ui::Form7> m_ui;
    platform::BoxHook m_box;
    platform::DocumentOpener m_open;
    shellwindows::UpdateCheck* m_transfer; // itrTransfer, a child of the window
};

namespace shellwindows {

// The question of the "Проверить обновления" command: true when the user
// wants the update-check window.
bool askToCheckForUpdates(QWidget* parent, const platform::BoxHook& box = {});

} // namespace shellwindows
