#pragma once
// "Choose Printer": the installed printers with the one in use marked, and
// for the selected printer the paper, quality, tray and colour it prints
// with. The printer and its paper are used by package and single printing
// and remembered in the settings file.

#include "print/paper.h"
#include "print/printer_options.h"

#include <QDialog>
#include <map>
#include <optional>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QGroupBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace print {

class frmChoosePrinter : public QDialog {
    Q_OBJECT
  public:
    explicit frmChoosePrinter(QWidget* parent = nullptr);

    QTreeWidget* lstPrinters = nullptr; // columns: in use, name, location, state
    QGroupBox* fraPaper = nullptr;      // the selected printer's paper
    QComboBox* cboPaperSize = nullptr;  // each size once; its borderless kind by the box
    QCheckBox* chkBorderless = nullptr;
    QComboBox* cboPaperType = nullptr;
    QComboBox* cboQuality = nullptr;
    QComboBox* cboSource = nullptr;    // shown where the printer has more than one tray
    QComboBox* cboColorMode = nullptr; // shown where it has more than one mode
    QLabel* lblPaperState = nullptr;   // "Asking the printer…", why it did not answer, notices
    QPushButton* cmdUse = nullptr;
    QPushButton* cmdCancel = nullptr;

    // True while the selected printer has not answered yet.
    bool isAsking() const;

  public slots:
    // Takes the selected printer: the system's default printer means "follow
    // the default", any other is remembered by name; with it the paper chosen
    // for it, where the printer said what it offers.
    void cmdUse_Click();

  private:
    // What a printer answered and what the user has chosen for it so far.
    struct PrinterPaper {
        bool answered = false;
        std::optional<PrinterOptions> options; // none: `error` says why
        QString error;
        PaperChoice choice;
        QString notice; // a remembered value the printer no longer offers
    };

    QString selectedPrinter() const;
    void lstPrinters_CurrentChanged();
    void ask(const QString& printer);
    void showPaper();
    void takeChoice();

    QFormLayout* m_form = nullptr;
    std::map<QString, PrinterPaper> m_papers; // by queue name
    bool m_showing = false;                   // filling the controls: not the user's choice
};

} // namespace print
