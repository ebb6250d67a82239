#pragma once
// "Choose Printer": the installed printers with the one in use marked; the
// choice is used by package and single printing and remembered in the
// settings file.

#include <QDialog>

class QTreeWidget;
class QPushButton;

namespace print {

class frmChoosePrinter : public QDialog {
    Q_OBJECT
  public:
    explicit frmChoosePrinter(QWidget* parent = nullptr);

    QTreeWidget* lstPrinters = nullptr; // columns: in use, name, location, state
    QPushButton* cmdUse = nullptr;
    QPushButton* cmdCancel = nullptr;

  public slots:
    // Takes the selected printer: the system's default printer means "follow
    // the default", any other is remembered by name.
    void cmdUse_Click();
};

} // namespace print
