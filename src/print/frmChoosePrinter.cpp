#include "print/frmChoosePrinter.h"

#include "print/cups_printer.h"
#include "print/printer_choice.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace print {

namespace {

QString stateWords(PrinterEntry::State state) {
    switch (state) {
    case PrinterEntry::Printing:
        return QStringLiteral("Printing");
    case PrinterEntry::Stopped:
        return QStringLiteral("Stopped");
    case PrinterEntry::Idle:
        break;
    }
    return QStringLiteral("Ready");
}

} // namespace

frmChoosePrinter::frmChoosePrinter(QWidget* parent) : QDialog(parent) {
    setObjectName("frmChoosePrinter");
    setWindowTitle("Choose Printer");
    auto* layout = new QVBoxLayout(this);
    lstPrinters = new QTreeWidget(this);
    lstPrinters->setObjectName("lstPrinters");
    lstPrinters->setRootIsDecorated(false);
    lstPrinters->setHeaderLabels({"In use", "Printer", "Location", "State"});
    lstPrinters->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    const QString inUse = printerInUse();
    for (const PrinterEntry& p : installedPrinters()) {
        const bool used = inUse.isEmpty() ? p.isDefault : p.name == inUse;
        auto* row = new QTreeWidgetItem(
            lstPrinters, {used ? QStringLiteral("\u2714") : QString(),
                          p.isDefault ? p.name + QStringLiteral(" (default)") : p.name, p.location,
                          stateWords(p.state)});
        row->setData(1, Qt::UserRole, p.name);
        row->setData(1, Qt::UserRole + 1, p.isDefault);
        if (used)
            lstPrinters->setCurrentItem(row);
    }
    layout->addWidget(lstPrinters);
    if (lstPrinters->topLevelItemCount() == 0)
        layout->addWidget(
            new QLabel("No printer is installed: sheets are saved as PDF files.", this));

    auto* buttons = new QDialogButtonBox(this);
    cmdUse = buttons->addButton("&Use This Printer", QDialogButtonBox::AcceptRole);
    cmdCancel = buttons->addButton("&Cancel", QDialogButtonBox::RejectRole);
    cmdUse->setEnabled(lstPrinters->currentItem() != nullptr);
    connect(lstPrinters, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { cmdUse->setEnabled(item != nullptr); });
    connect(lstPrinters, &QTreeWidget::itemDoubleClicked, this, &frmChoosePrinter::cmdUse_Click);
    connect(cmdUse, &QPushButton::clicked, this, &frmChoosePrinter::cmdUse_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(520, 260);
}

void frmChoosePrinter::cmdUse_Click() {
    const QTreeWidgetItem* row = lstPrinters->currentItem();
    if (!row)
        return;
    setChosenPrinter(row->data(1, Qt::UserRole + 1).toBool()
                         ? QString()
                         : row->data(1, Qt::UserRole).toString());
    accept();
}

} // namespace print
