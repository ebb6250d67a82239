#include "acquire/scanning.h"

#include "acquire/sanescanner.h"
#include "acquire/scan_memory.h"
#include "acquire/scan_window.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace acquire {

namespace {

QString chosenDevice;
QString lastError;

// Device discovery can take seconds when network scanners are probed.
class WaitCursor {
  public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
};

class SourceDialog : public QDialog {
  public:
    SourceDialog(QWidget* owner, const QVector<sane::Device>& devices, const QString& current)
        : QDialog(owner) {
        setObjectName("sourceDialog");
        setWindowTitle(tr("Select Source"));
        setModal(true);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(new QLabel(tr("Sources:"), this));
        list = new QListWidget(this);
        list->setObjectName("sourceList");
        layout->addWidget(list);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        buttons->button(QDialogButtonBox::Ok)->setText(tr("Select"));
        layout->addWidget(buttons);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

        if (devices.isEmpty()) {
            auto* none = new QListWidgetItem(tr("No scanner found"), list);
            none->setFlags(Qt::NoItemFlags);
            buttons->button(QDialogButtonBox::Ok)->setEnabled(false);
            return;
        }
        for (const sane::Device& d : devices) {
            auto* item = new QListWidgetItem(d.label(), list);
            item->setData(Qt::UserRole, d.name);
            if (d.name == current)
                list->setCurrentItem(item);
        }
        if (!list->currentItem())
            list->setCurrentRow(0);
        connect(list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    }

    QString chosen() const {
        const QListWidgetItem* item = list->currentItem();
        return item ? item->data(Qt::UserRole).toString() : QString();
    }

  private:
    QListWidget* list = nullptr;
};

Scanned fail(ScanOutcome result, const QString& why) {
    lastError = why;
    return {result, {}};
}

} // namespace

QString selectedSource() {
    return chosenDevice;
}
void setSelectedSource(const QString& deviceName) {
    chosenDevice = deviceName;
}
QString lastAcquireError() {
    return lastError;
}

bool chooseScanner(QWidget* owner) {
    sane::Session session;
    QVector<sane::Device> devices;
    {
        WaitCursor wait;
        devices = session.devices();
    }
    SourceDialog dialog(owner, devices, chosenDevice);
    if (dialog.exec() != QDialog::Accepted || dialog.chosen().isEmpty())
        return false;
    chosenDevice = dialog.chosen();
    return true;
}

Scanned scanPicture(QWidget* owner, const QString& settingsFile) {
    sane::Session session;
    if (!session.ok())
        return fail(ScanOutcome::NoScanner, session.error());
    QVector<sane::Device> devices;
    {
        WaitCursor wait;
        devices = session.devices();
    }
    if (devices.isEmpty())
        return fail(ScanOutcome::NoScanner, "no scanner found");
    QString device = devices.front().name;
    if (!chosenDevice.isEmpty()) {
        // The scanner chosen earlier, not silently another one.
        const bool present = std::any_of(devices.begin(), devices.end(), [](const sane::Device& d) {
            return d.name == chosenDevice;
        });
        if (!present)
            return fail(ScanOutcome::NoScanner,
                        "the chosen scanner " + chosenDevice + " is not there");
        device = chosenDevice;
    }

    QString label = device;
    for (const sane::Device& d : devices)
        if (d.name == device)
            label = d.label();
    sane::Scanner scanner(session, device);
    if (!scanner.ok())
        return fail(ScanOutcome::ScanFailed, scanner.error());
    ScanMemory memory(settingsFile);
    ScanWindow window(owner, scanner, label,
                      fitToDevice(memory.recall(device), scanner.capabilities()));
    const int ended = window.exec();
    if (ended == QDialog::Rejected)
        return fail(ScanOutcome::Declined, "the scan settings window was closed");
    const sane::ScanResult& scan = window.result();
    if (scan.outcome == sane::ScanResult::Outcome::Cancelled)
        return fail(ScanOutcome::Cancelled, scan.error);
    if (!scan.ok())
        return fail(ScanOutcome::ScanFailed, scan.error);
    // Losing the remembered settings is no reason to lose the scan.
    memory.remember(device, window.choice());

    lastError.clear();
    return {ScanOutcome::Ok, scan.image};
}

} // namespace acquire
