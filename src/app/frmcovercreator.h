#pragma once
// The main window: picture browser, package previews on the tab strip,
// package check boxes with "Print", copies, scanner page, toolbar and menu.

#include "app/main_state.h"
#include "app/settings.h"
#include "app/tray.h"
#include "pictures/package_pictures.h"
#include "print/layouts.h"
#include "print/print_order.h"

#include <QMainWindow>
#include <array>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class CopiesSpinner;
class QTabWidget;
class QToolBar;
class QAction;
class DriveList;
class FolderList;
class FileList;
namespace notify {
class frmmsnpopup;
}
namespace print {
class PrintJob;
}
class PreviewImage;
enum class Command;

class frmcovercreator : public QMainWindow, private SettingsTarget {
    Q_OBJECT
  public:
    // settingsFile: where readini/writeini keep the settings.
    // tray: the tray icon; null means the desktop's own.
    explicit frmcovercreator(QString settingsFile = settings::defaultFileName(),
                             std::unique_ptr<Tray> tray = nullptr);
    ~frmcovercreator() override;

    MainState& state() { return m_state; }
    print::PrintOrder& order() { return m_order; }
    PackagePictures& pictures() { return m_pictures; }
    PreviewImage* previewImage(int position) const; // 0 … 19, pictures/positions.h

    // Handlers, named after their controls.
    void drvSelect_Change();
    void dirSelect_Change();
    void fileSelect_Click();
    void Image_Click(int position);
    void SSTab1_Click();
    void VScroll1_Change();
    void Check_Click();
    void PrintOptions_Change(); // fill mode, turning or cut guides
    void cmdPrint_Click();
    void Command1_Click(); // "Source"
    void Command2_Click(); // "Aquire"
    void Command3_Click(); // "Save"
    void printpictures_Click();
    void printpreview_Click();
    void tonwerk_Click();
    void Toolbar1_ButtonClick(int button);
    void Toolbar1_MouseMove();
    void runCommand(Command command);

    // Opens a picture given on the command line ("Open with Parvello"), as a
    // path or a file:// URI: its folder in the browser, the picture in the
    // current tab's previews. A missing file or one that is no picture is
    // told to the user.
    void openFile(const QString& argument);

    // Tray handling.
    void ShowProgramInTray();
    void NoSysIcon(bool maxIcon);

    // The browser's controls, for tests and for the settings.
    DriveList* drvSelect() const { return m_drvSelect; }
    FolderList* dirSelect() const { return m_dirSelect; }
    FileList* fileSelect() const { return m_fileSelect; }
    QTabWidget* SSTab1() const { return m_tabs; }
    QCheckBox* check(int package) const { return m_checks[package]; } // its checkIndex
    QPushButton* cmdPrint() const { return m_cmdPrint; }
    // While sheets print: how far they are, and the button that stops them.
    QProgressBar* prgPrint() const { return m_prgPrint; }
    QPushButton* cmdCancelPrint() const { return m_cmdCancelPrint; }
    QComboBox* fillMode() const { return m_fill; }
    QCheckBox* turnToFit() const { return m_turn; }
    QCheckBox* cutGuides() const { return m_cutGuides; }
    CopiesSpinner* VScroll1() const { return m_spinner; }
    QLabel* NumberOfCopies() const { return m_copies; }
    QLabel* scanStatus() const { return m_scanStatus; }
    QToolBar* Toolbar1() const { return m_toolbar; }
    QAction* toolbarButton(int button) const { return m_buttons[button - 1]; }
    QAction* menuItem(const QString& control) const;
    // The popup that tells and asks for this window and the windows it opens.
    notify::frmmsnpopup& popup() const { return *m_popup; }
    Tray* tray() const { return m_tray.get(); }

    // The settings defaults: the Pictures folder and its drive.
    static settings::Defaults defaultPlace();

  protected:
    void changeEvent(QEvent* event) override;     // Form_Resize
    void closeEvent(QCloseEvent* event) override; // Form_Unload
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A picture file dropped on the window, but not on a print, is loaded
    // as a click on it in the file list would.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // The window's three columns.
    QWidget* buildBrowser();
    QWidget* buildTabs();
    QWidget* buildPackageOptions();
    void buildCommands();
    void setKeyboardOrder();
    void Form_Load();
    void Form_Unload();
    void bindOrder();
    void followPrintJob(print::PrintJob& job);
    void loadIntoPreviews(const QString& fileName);

    // SettingsTarget
    void setCurrentTab(int tab) override;
    bool setDrive(const QString& drive) override;
    bool setFolder(const QString& folder) override;
    void setWindowPlace(const std::optional<WindowPlace>& place) override;
    int currentTab() const override;
    QString drive() const override;
    QString folder() const override;
    WindowPlace windowPlace() const override;

    MainState m_state;
    print::PrintOrder m_order;
    PackagePictures m_pictures;
    IniFile m_settings;
    std::unique_ptr<Tray> m_tray;
    std::unique_ptr<notify::frmmsnpopup> m_popup;
    bool m_unloaded = false;

    DriveList* m_drvSelect = nullptr;
    FolderList* m_dirSelect = nullptr;
    FileList* m_fileSelect = nullptr;
    QTabWidget* m_tabs = nullptr;
    std::array<PreviewImage*, positions::kCount> m_previews{};
    std::array<QCheckBox*, print::kPackages.size()> m_checks{};
    QPushButton* m_cmdPrint = nullptr;
    QProgressBar* m_prgPrint = nullptr;
    QPushButton* m_cmdCancelPrint = nullptr;
    QComboBox* m_fill = nullptr;
    QCheckBox* m_turn = nullptr;
    QCheckBox* m_cutGuides = nullptr;
    CopiesSpinner* m_spinner = nullptr;
    QLabel* m_copies = nullptr;
    QLabel* m_scanStatus = nullptr; // the scanned picture's size and the prints it is sharp for
    QToolBar* m_toolbar = nullptr;
    std::array<QAction*, 10> m_buttons{};
    QList<QAction*> m_menuItems;
};
