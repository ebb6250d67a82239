#include "update/update_window.h"

#include "common/units.h"
#include "common/weblink.h"
#include "update/version.h"

#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace updatecheck {

namespace {

// Small bold labels, close to the classic 8-point dialog face.
QFont labelFont() {
    QFont font;
    font.setFamilies({"MS Sans Serif", "Nimbus Sans", "Liberation Sans", "Arial"});
    font.setPointSizeF(8.25);
    font.setBold(true);
    return font;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, QRect where,
                  Qt::Alignment align) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(labelFont());
    label->setAlignment(align | Qt::AlignVCenter);
    label->setGeometry(where);
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, QRect where) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(where);
    return button;
}

QString fetchFailureText(const FetchResult& r) {
    switch (r.problem) {
    case FetchProblem::Unreachable:
        return QStringLiteral("Update server not reachable.");
    case FetchProblem::TimedOut:
        return QStringLiteral("Update server did not answer.");
    case FetchProblem::HttpStatus:
        if (r.httpStatus == 404)
            return QStringLiteral("No version file on the server.");
        return QStringLiteral("Update server error (HTTP %1).").arg(r.httpStatus);
    case FetchProblem::TooLarge:
        return QStringLiteral("Version file is not valid.");
    case FetchProblem::Failed:
    case FetchProblem::None:
        break;
    }
    return QStringLiteral("Update check failed.");
}

} // namespace

UpdateAddresses builtInAddresses() {
    return {QUrl(QStringLiteral(PARVELLO_VERSION_URL)),
            QUrl(QStringLiteral(PARVELLO_DOWNLOAD_URL))};
}

UpdateWindow::UpdateWindow(notify::Prompt& prompt, QWidget* parent,
                           const UpdateAddresses& addresses, std::chrono::milliseconds timeout)
    : QDialog(parent), m_prompt(prompt), m_addresses(addresses) {
    setObjectName(QStringLiteral("update"));
    setWindowTitle(QStringLiteral("Parvello Update"));
    setFixedSize(units::toScreenPixels(3690), units::toScreenPixels(1995));

    // Everything sits in one frame without a caption.
    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setGeometry(units::toScreenPixels(120, 0, 3495, 1935));

    Label1 = makeLabel(frame, "Label1", QStringLiteral("Searching for newer versions of Parvello"),
                       units::toScreenPixels(120, 240, 3210, 195), Qt::AlignHCenter);
    makeLabel(frame, "Label2", QStringLiteral("Current  Version :"),
              units::toScreenPixels(600, 600, 1575, 255), Qt::AlignLeft);
    makeLabel(frame, "Label3", QStringLiteral("Newest  Version :"),
              units::toScreenPixels(600, 960, 1575, 255), Qt::AlignLeft);
    currentversion = makeLabel(frame, "currentversion", QString(),
                               units::toScreenPixels(2280, 600, 855, 255), Qt::AlignLeft);
    newestversion = makeLabel(frame, "newestversion", QString(),
                              units::toScreenPixels(2280, 960, 855, 255), Qt::AlignLeft);
    Command1 = makeButton(frame, "Command1", QStringLiteral("&Yes"),
                          units::toScreenPixels(240, 1440, 1455, 375));
    Command2 = makeButton(frame, "Command2", QStringLiteral("&Cancel"),
                          units::toScreenPixels(1920, 1440, 1455, 375));
    Command3 = makeButton(frame, "Command3", QStringLiteral("Cl&ose"),
                          units::toScreenPixels(1080, 1440, 1455, 375));

    connect(Command1, &QPushButton::clicked, this, &UpdateWindow::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &UpdateWindow::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &UpdateWindow::Command3_Click);

    // While the server is asked, the only way out is "Cl&ose".
    currentversion->setText(QString::fromLatin1(kRunningVersion));
    Command1->hide();
    Command2->hide();

    connect(&m_fetch, &VersionFetch::finished, this, &UpdateWindow::showResult);
    m_fetch.start(versionFileUrl(), timeout);
}

UpdateWindow::~UpdateWindow() {
    m_fetch.abort();
}

void UpdateWindow::showResult() {
    const FetchResult& fetched = m_fetch.result();
    if (fetched.problem != FetchProblem::None) {
        showUpToDate(fetchFailureText(fetched));
    } else {
        // The body is the version, shown as sent apart from the line end
        // most servers add.
        const QString newest = QString::fromUtf8(fetched.body).trimmed();
        const VersionNumber published = readVersion(newest);
        if (!published.valid) {
            showUpToDate(QStringLiteral("Published version is not a number."));
        } else {
            newestversion->setText(newest);
            if (isNewer(readVersion(QString::fromLatin1(kRunningVersion)), published)) {
                Label1->setText(QStringLiteral("A new update is available!"));
                Command1->show();
                Command2->show();
                Command3->hide();
            } else {
                showUpToDate(QStringLiteral("Your version is up to date!"));
            }
        }
    }
    m_checkDone = true;
    emit checkFinished();
}

void UpdateWindow::showUpToDate(const QString& text) {
    Label1->setText(text);
    Command1->hide();
    Command2->hide();
    Command3->show();
}

void UpdateWindow::Command1_Click() {
    // Once a browser has the page, the download is its business.
    if (!weblink::openUrl(downloadPageUrl()))
        m_prompt.tell(weblink::notOpenedMessage(downloadPageUrl()));
    accept();
}

void UpdateWindow::Command2_Click() {
    reject();
}

void UpdateWindow::Command3_Click() {
    reject();
}

void UpdateWindow::done(int result) {
    m_fetch.abort();
    QDialog::done(result);
}

} // namespace updatecheck
