#pragma once
// The "Parvello Update" window: asks the maker's server for the published
// version, compares it with the running one and, when it is newer, offers
// the download page. The window shows at once with "Searching for newer
// versions of Parvello" and fills in when the answer arrives, so a slow or
// absent server never freezes the program. Every failure ends in the
// up-to-date layout with a short reason in Label1. When no browser takes the
// download page, the prompt tells the user where to go.

#include "notify/prompt.h"
#include "update/versionfetch.h"

#include <QDialog>
#include <QUrl>
#include <chrono>

class QLabel;
class QPushButton;

namespace updatecheck {

// Where the published version is read and where a newer one is fetched from.
struct UpdateAddresses {
    QUrl versionFile;
    QUrl downloadPage;
};
// The addresses this build was configured with (PARVELLO_VERSION_URL and
// PARVELLO_DOWNLOAD_URL; by default the maker's web server).
UpdateAddresses builtInAddresses();

// The whole fetch gives up after this long.
inline constexpr std::chrono::milliseconds kFetchTimeout{10000};

class UpdateWindow : public QDialog {
    Q_OBJECT
  public:
    // The addresses and time-out are fixed for the program; tests point the
    // window at a server of their own.
    explicit UpdateWindow(notify::Prompt& prompt, QWidget* parent = nullptr,
                          const UpdateAddresses& addresses = builtInAddresses(),
                          std::chrono::milliseconds timeout = kFetchTimeout);
    ~UpdateWindow() override;

    // Closing the window in any way stops a fetch still running.
    void done(int result) override;

    // True once the answer (or the failure) is shown.
    bool isCheckDone() const { return m_checkDone; }
    QUrl versionFileUrl() const { return m_addresses.versionFile; }
    QUrl downloadPageUrl() const { return m_addresses.downloadPage; }

  signals:
    // The result is on the window.
    void checkFinished();

  private slots:
    void Command1_Click(); // "&Yes": open the download page and close
    void Command2_Click(); // "&Cancel"
    void Command3_Click(); // "Cl&ose"

  private:
    void showResult();
    void showUpToDate(const QString& text);
    notify::Prompt& m_prompt;
    UpdateAddresses m_addresses;
    VersionFetch m_fetch;
    bool m_checkDone = false;

    QLabel* Label1;
    QLabel* currentversion;
    QLabel* newestversion;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command3;
};

} // namespace updatecheck
