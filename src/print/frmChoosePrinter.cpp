#include "print/frmChoosePrinter.h"

#include "print/cups_printer.h"
#include "print/paper_memory.h"
#include "print/printer_choice.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QFutureWatcher>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QThreadPool>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>

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

// A paper size as the user picks it: once, whether the printer offers it
// with borders, borderless or both.
struct SizeKinds {
    QString name;
    QString caption; // the bordered one's where there is one
    bool bordered = false;
    bool borderless = false;
};

std::vector<SizeKinds> sizesOnce(const PrinterOptions& options) {
    std::vector<SizeKinds> sizes;
    for (const PaperSize& s : options.sizes) {
        auto it = std::find_if(sizes.begin(), sizes.end(),
                               [&](const SizeKinds& k) { return k.name == s.paper.name; });
        if (it == sizes.end())
            it = sizes.insert(sizes.end(), {s.paper.name, s.caption});
        if (s.borderless) {
            it->borderless = true;
        } else {
            it->bordered = true;
            it->caption = s.caption;
        }
    }
    return sizes;
}

// The choices besides the size: the control, its caption, what the printer
// offers and uses unless told, the field of the choice it sets, and from how
// many values on there is something to choose.
struct OptionRow {
    QComboBox* frmChoosePrinter::*box;
    const char* name;
    const char* caption;
    std::vector<OptionValue> PrinterOptions::*offered;
    QString PrinterOptions::*byDefault;
    QString PaperChoice::*chosen;
    int fewest;
};
const OptionRow kOptionRows[] = {
    {&frmChoosePrinter::cboPaperType, "cboPaperType", "Paper &type:", &PrinterOptions::types,
     &PrinterOptions::defaultType, &PaperChoice::type, 1},
    {&frmChoosePrinter::cboQuality, "cboQuality", "&Quality:", &PrinterOptions::qualities,
     &PrinterOptions::defaultQuality, &PaperChoice::quality, 1},
    {&frmChoosePrinter::cboSource, "cboSource", "&Source:", &PrinterOptions::sources,
     &PrinterOptions::defaultSource, &PaperChoice::source, 2},
    {&frmChoosePrinter::cboColorMode, "cboColorMode", "Colo&r:", &PrinterOptions::colourModes,
     &PrinterOptions::defaultColourMode, &PaperChoice::colourMode, 2},
};

struct Answer {
    std::optional<PrinterOptions> options;
    QString error;
};

// Printers are asked on threads of their own: Qt paints with the help of its
// shared pool, and a printer that does not answer would stall the window.
QThreadPool& askingThreads() {
    static QThreadPool pool;
    return pool;
}

} // namespace

frmChoosePrinter::frmChoosePrinter(QWidget* parent) : QDialog(parent) {
    setObjectName("frmChoosePrinter");
    setWindowTitle("Choose Printer");
    auto* layout = new QVBoxLayout(this);
    auto* printersCaption = new QLabel("&Printers:", this);
    layout->addWidget(printersCaption);
    lstPrinters = new QTreeWidget(this);
    lstPrinters->setObjectName("lstPrinters");
    printersCaption->setBuddy(lstPrinters);
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
    // Four rows show without scrolling; the paper below gets the rest.
    const int rowHeight = lstPrinters->fontMetrics().height() + 8;
    lstPrinters->setMinimumHeight(lstPrinters->header()->sizeHint().height() + 4 * rowHeight);
    layout->addWidget(lstPrinters, 1);
    if (lstPrinters->topLevelItemCount() == 0)
        layout->addWidget(
            new QLabel("No printer is installed: sheets are saved as PDF files.", this));

    fraPaper = new QGroupBox(this);
    fraPaper->setObjectName("fraPaper");
    m_form = new QFormLayout(fraPaper);
    cboPaperSize = new QComboBox(fraPaper);
    cboPaperSize->setObjectName("cboPaperSize");
    chkBorderless = new QCheckBox("&Borderless", fraPaper);
    chkBorderless->setObjectName("chkBorderless");
    chkBorderless->setToolTip("Print to every edge of the paper.");
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(cboPaperSize, 1);
    sizeRow->addWidget(chkBorderless);
    auto* sizeCaption = new QLabel("Paper si&ze:", fraPaper);
    sizeCaption->setBuddy(cboPaperSize);
    m_form->addRow(sizeCaption, sizeRow);
    for (const OptionRow& row : kOptionRows) {
        QComboBox* box = this->*row.box = new QComboBox(fraPaper);
        box->setObjectName(row.name);
        m_form->addRow(row.caption, box);
    }
    lblPaperState = new QLabel(fraPaper);
    lblPaperState->setObjectName("lblPaperState");
    lblPaperState->setWordWrap(true);
    m_form->addRow(lblPaperState);
    layout->addWidget(fraPaper);

    auto* buttons = new QDialogButtonBox(this);
    cmdUse = buttons->addButton("&Use This Printer", QDialogButtonBox::AcceptRole);
    cmdCancel = buttons->addButton("&Cancel", QDialogButtonBox::RejectRole);
    connect(lstPrinters, &QTreeWidget::currentItemChanged, this,
            &frmChoosePrinter::lstPrinters_CurrentChanged);
    connect(lstPrinters, &QTreeWidget::itemDoubleClicked, this, &frmChoosePrinter::cmdUse_Click);
    for (QComboBox* box : {cboPaperSize, cboPaperType, cboQuality, cboSource, cboColorMode})
        connect(box, &QComboBox::currentIndexChanged, this, &frmChoosePrinter::takeChoice);
    connect(chkBorderless, &QCheckBox::toggled, this, &frmChoosePrinter::takeChoice);
    connect(cmdUse, &QPushButton::clicked, this, &frmChoosePrinter::cmdUse_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(buttons);
    lstPrinters_CurrentChanged();

    // Room for a long paper caption and every row of the paper, within the
    // screen it opens on.
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const QSize room = screen ? screen->availableGeometry().size() * 9 / 10 : QSize(800, 600);
    resize(std::min(room.width(), std::max(560, sizeHint().width())),
           std::min(room.height(), std::max(440, sizeHint().height())));
}

bool frmChoosePrinter::isAsking() const {
    const auto it = m_papers.find(selectedPrinter());
    return it != m_papers.end() && !it->second.answered;
}

QString frmChoosePrinter::selectedPrinter() const {
    const QTreeWidgetItem* row = lstPrinters->currentItem();
    return row ? row->data(1, Qt::UserRole).toString() : QString();
}

void frmChoosePrinter::lstPrinters_CurrentChanged() {
    const QString printer = selectedPrinter();
    cmdUse->setEnabled(!printer.isEmpty());
    fraPaper->setVisible(!printer.isEmpty());
    if (printer.isEmpty())
        return;
    fraPaper->setTitle(QStringLiteral("Paper for %1").arg(printer));
    if (m_papers.find(printer) == m_papers.end())
        ask(printer);
    showPaper();
}

// The printer may be slow or gone: it is asked on a worker, and the window
// keeps working meanwhile.
void frmChoosePrinter::ask(const QString& printer) {
    m_papers[printer] = PrinterPaper{};
    auto* watcher = new QFutureWatcher<Answer>(this);
    connect(watcher, &QFutureWatcher<Answer>::finished, this, [this, watcher, printer] {
        const Answer answer = watcher->result();
        watcher->deleteLater();
        PrinterPaper& paper = m_papers[printer];
        paper.answered = true;
        paper.options = answer.options;
        paper.error = answer.error;
        if (paper.options)
            paper.choice = rememberedPaper(printer, *paper.options, &paper.notice);
        if (printer == selectedPrinter())
            showPaper();
    });
    watcher->setFuture(QtConcurrent::run(&askingThreads(), [printer] {
        Answer answer;
        answer.options = printerOptions(printer, &answer.error);
        return answer;
    }));
}

void frmChoosePrinter::showPaper() {
    const PrinterPaper& paper = m_papers[selectedPrinter()];
    const bool offered = paper.answered && paper.options;
    lblPaperState->setText(!paper.answered ? QStringLiteral("Asking the printer\u2026")
                           : offered       ? paper.notice
                                           : paper.error);
    lblPaperState->setVisible(!lblPaperState->text().isEmpty());
    m_showing = true;
    cboPaperSize->clear();
    cboPaperSize->setEnabled(offered);
    chkBorderless->setEnabled(false);
    chkBorderless->setChecked(offered && paper.choice.borderless);
    if (offered) {
        for (const SizeKinds& s : sizesOnce(*paper.options))
            cboPaperSize->addItem(sizeInWords(s.name, s.caption), s.name);
        cboPaperSize->setCurrentIndex(std::max(0, cboPaperSize->findData(paper.choice.size)));
    }
    // While the printer is asked the usual rows stand empty; then only what
    // there is a choice between shows, the printer's default where the
    // choice leaves it.
    for (const OptionRow& row : kOptionRows) {
        QComboBox* box = this->*row.box;
        box->clear();
        box->setEnabled(offered);
        if (offered) {
            const PrinterOptions& o = *paper.options;
            for (const OptionValue& v : o.*row.offered)
                box->addItem(v.caption, v.value);
            const QString& chosen = paper.choice.*row.chosen;
            box->setCurrentIndex(
                std::max(0, box->findData(chosen.isEmpty() ? o.*row.byDefault : chosen)));
        }
        m_form->setRowVisible(box, offered ? box->count() >= row.fewest : row.fewest == 1);
    }
    m_showing = false;
    if (offered)
        takeChoice();
}

// The controls as the choice for the selected printer. The box says
// borderless only for a size the printer offers both ways; a value left at
// the printer's own default stays "unless told".
void frmChoosePrinter::takeChoice() {
    if (m_showing)
        return;
    PrinterPaper& paper = m_papers[selectedPrinter()];
    if (!paper.options)
        return;
    const std::vector<SizeKinds> sizes = sizesOnce(*paper.options);
    const int index = cboPaperSize->currentIndex();
    if (index >= 0) {
        const SizeKinds& size = sizes[size_t(index)];
        const bool both = size.bordered && size.borderless;
        m_showing = true;
        chkBorderless->setEnabled(both);
        if (!both)
            chkBorderless->setChecked(size.borderless);
        m_showing = false;
        paper.choice.size = size.name;
        paper.choice.borderless = chkBorderless->isChecked();
    }
    for (const OptionRow& row : kOptionRows) {
        const QComboBox* box = this->*row.box;
        QString& chosen = paper.choice.*row.chosen;
        const QString value = box->currentData().toString();
        if (box->count() >= row.fewest &&
            !(chosen.isEmpty() && value == (*paper.options).*row.byDefault))
            chosen = value;
    }
}

void frmChoosePrinter::cmdUse_Click() {
    const QTreeWidgetItem* row = lstPrinters->currentItem();
    if (!row)
        return;
    const QString printer = selectedPrinter();
    const PrinterPaper& paper = m_papers[printer];
    QString error;
    if (paper.options && !rememberPaper(printer, paper.choice, &error)) {
        lblPaperState->setText(error);
        lblPaperState->setVisible(true);
        return;
    }
    setChosenPrinter(row->data(1, Qt::UserRole + 1).toBool() ? QString() : printer);
    accept();
}

} // namespace print
