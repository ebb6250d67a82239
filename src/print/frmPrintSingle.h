#pragma once
// "Print Single Picture": one picture at one package size, upright or on its side.

#include "notify/prompt.h"
#include "notify/window_hold.h"
#include "print/layouts.h"
#include "print/print_options.h"

#include <QDialog>
#include <QImage>
#include <QPointer>
#include <array>
#include <optional>

class QLabel;
class QRadioButton;
class QPushButton;
class QGroupBox;

namespace print {

class frmPrintSingle : public QDialog {
    Q_OBJECT
  public:
    // `picture` is the selected preview's picture (may be empty); `prompt`
    // asks before printing and reports. The main window is disabled while the
    // dialog is open. Non-modal; deletes itself
    // when closed. The dialog is a window of its own even when `parent` is
    // given (it opens over the parent and is deleted with it), so disabling
    // the main window never disables the dialog.
    frmPrintSingle(notify::Prompt& prompt, const QImage& picture, QWidget* mainWindow,
                   QWidget* parent = nullptr);
    ~frmPrintSingle() override;

    int selectedSize() const; // 0..4
    bool horizontal() const;

    // How the picture fills its print, and its crop window from the main
    // window's preview; the dialog's preview shows it so.
    void setPrintOptions(const PrintOptions& options, const imaging::Framing& framing = {});

    // Controls, named as in the form, for the tests.
    QLabel* picOrig = nullptr;
    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, kSingleSizes.size()> Option1{};
    std::array<QRadioButton*, 2> Option2{};
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;

  public slots:
    void Command1_Click();
    void Command2_Click();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildSizeChoices();
    void buildTurnChoices();
    void release();
    void showPrint();

    notify::Prompt& m_prompt;
    QImage m_picture;
    QImage m_screenCopy; // small enough to redraw at once when the size changes
    PrintOptions m_options;
    imaging::Framing m_framing;
    QPointer<QWidget> m_mainWindow;
    std::optional<notify::WindowHold> m_hold; // while open
};

} // namespace print
