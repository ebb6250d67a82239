#include "app/frmcovercreator.h"

#include "acquire/scantab.h"
#include "acquire/sharp_size.h"
#include "app/browser_lists.h"
#include "app/commands.h"
#include "app/copies_spinner.h"
#include "app/file_list.h"
#include "app/frmabout.h"
#include "app/helpwindow.h"
#include "app/load_errors.h"
#include "app/picture_browser.h"
#include "app/preview_image.h"
#include "app/preview_page.h"
#include "app/preview_table.h"
#include "app/tray.h"
#include "app/window_placement.h"
#include "app/window_size.h"
#include "common/paths.h"
#include "common/units.h"
#include "common/version.h"
#include "common/weblink.h"
#include "editor/frmManipulate.h"
#include "notify/frmmsnpopup.h"
#include "pictures/picture_formats.h"
#include "print/captions.h"
#include "print/frmChoosePrinter.h"
#include "print/frmPrintSingle.h"
#include "print/print_job.h"
#include "print/print_preview.h"
#include "print/print_routine.h"
#include "update/update_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// The main window's designed size, in twips: the size it first opens at and
// the least it shrinks to where the screen holds it.
constexpr int WindowWidth = 10590;
constexpr int WindowHeight = 8295;
// The columns' designed widths and the gaps around them.
constexpr int BrowserWidth = 2700;
constexpr int OptionsWidth = 1560;
// The tab strip with the previews, as designed.
constexpr int TabsWidth = 5880;
constexpr int TabsHeight = 5900;
constexpr int Gap = 120;

int px(int twips) {
    return units::toScreenPixels(twips);
}

QGroupBox* group(const QString& name, const QString& title) {
    auto* box = new QGroupBox(title);
    box->setObjectName(name);
    return box;
}

// A column of the window: its designed width, its parts one below the other.
QVBoxLayout* column(QWidget*& widget, int widthTwips) {
    widget = new QWidget;
    widget->setFixedWidth(px(widthTwips));
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(px(60));
    return layout;
}

void fill(QGroupBox* box, QWidget* content) {
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(content);
}

// The window's dialogs open modal to it, without waiting, and go once closed.
void openOver(QDialog* dialog) {
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

QIcon toolbarIcon(int button, const QStyle* style) {
    const QString file =
        paths::dataFile(QStringLiteral("pictures/toolbar/button%1.png").arg(button));
    QIcon icon(file);
    if (!icon.availableSizes().isEmpty())
        return icon;
    // Without our own pictures every button still shows something sensible.
    static const QStyle::StandardPixmap fallback[] = {
        QStyle::SP_FileIcon,         QStyle::SP_FileIcon,    QStyle::SP_FileIcon,
        QStyle::SP_FileIcon,         QStyle::SP_FileIcon,    QStyle::SP_DriveCDIcon,
        QStyle::SP_DialogSaveButton, QStyle::SP_DesktopIcon, QStyle::SP_DialogHelpButton,
        QStyle::SP_DriveNetIcon};
    return style->standardIcon(fallback[button - 1]);
}

} // namespace

frmcovercreator::frmcovercreator(QString settingsFile, std::unique_ptr<Tray> tray)
    : m_settings(std::move(settingsFile)), m_tray(std::move(tray)) {
    setObjectName("frmcovercreator");
    setWindowTitle("Parvello");
    QIcon appIcon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        appIcon.addFile(
            paths::dataFile(QStringLiteral("pictures/icons/parvello-%1.png").arg(size)));
    setWindowIcon(appIcon);
    setAcceptDrops(true);
    if (!m_tray)
        m_tray = makeSystemTray(appIcon);
    connect(m_tray.get(), &Tray::restoreRequested, this, [this] { NoSysIcon(true); });
    connect(m_tray.get(), &Tray::exitRequested, this, [this] { runCommand(Command::Exit); });

    m_popup = std::make_unique<notify::frmmsnpopup>(this);
    tellLoadErrors(m_pictures, *m_popup);
    // The window stays usable while a picture loads.
    connect(&m_pictures, &PackagePictures::loadingChanged, this, [](bool loading) {
        if (loading)
            QApplication::setOverrideCursor(Qt::BusyCursor);
        else
            QApplication::restoreOverrideCursor();
    });

    // The browser takes the height, the previews whatever the window gains,
    // the options keep their width.
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* columns = new QHBoxLayout(central);
    columns->setContentsMargins(px(Gap), px(60), px(90), px(60));
    columns->setSpacing(px(Gap));
    columns->addWidget(buildBrowser());
    columns->addWidget(buildTabs(), 1);
    columns->addWidget(buildPackageOptions());
    buildCommands();
    setKeyboardOrder();
    bindOrder();
    Form_Load();
}

frmcovercreator::~frmcovercreator() {
    if (m_pictures.isLoading())
        QApplication::restoreOverrideCursor();
}

QWidget* frmcovercreator::buildBrowser() {
    QWidget* browser = nullptr;
    QVBoxLayout* layout = column(browser, BrowserWidth);

    m_drvSelect = new DriveList;
    m_drvSelect->setObjectName("drvSelect");
    m_drvSelect->setToolTip("Current drive.");
    QGroupBox* drives = group("Frame5", "Drives");
    drives->setFixedHeight(px(720));
    fill(drives, m_drvSelect);
    layout->addWidget(drives);

    m_dirSelect = new FolderList;
    m_dirSelect->setObjectName("dirSelect");
    m_dirSelect->setToolTip("Current directory.");
    QGroupBox* folders = group("Frame2", "Directories");
    fill(folders, m_dirSelect);
    layout->addWidget(folders, 2000);

    m_fileSelect = new FileList;
    m_fileSelect->setObjectName("fileSelect");
    m_fileSelect->setToolTip("Available Pictures.");
    QGroupBox* files = group("Frame3", "Files");
    fill(files, m_fileSelect);
    layout->addWidget(files, 4400);

    connect(m_drvSelect, &DriveList::driveChanged, this, &frmcovercreator::drvSelect_Change);
    connect(m_dirSelect, &FolderList::pathChanged, this, &frmcovercreator::dirSelect_Change);
    connect(m_fileSelect, &FileList::fileChosen, this, &frmcovercreator::fileSelect_Click);
    return browser;
}

QWidget* frmcovercreator::buildTabs() {
    m_tabs = new QTabWidget;
    m_tabs->setObjectName("SSTab1");
    std::array<PreviewPage*, ScanTab + 1> pages{};
    for (int tab = 0; tab <= ScanTab; ++tab)
        pages[size_t(tab)] = new PreviewPage;
    for (int tab = 0; tab < ScanTab; ++tab)
        m_tabs->addTab(pages[size_t(tab)], print::caption(print::packageOnTab(tab)->caption));
    auto* scan = new QWidget;
    m_tabs->addTab(scan, ScanTabCaption);
    for (const PreviewBox& box : PreviewBoxes) {
        auto* image = new PreviewImage(m_pictures, box.position);
        // Tops count from the tab strip's own top edge, which the page
        // starts below.
        pages[size_t(previewTab(box.position))]->addBox(
            image, QRect(box.left, box.top - 360, box.width, box.height));
        image->setToolTip(previewToolTip(box.position));
        m_previews[size_t(box.position)] = image;
        if (box.position < positions::kPackage) {
            connect(image, &PreviewImage::clicked, this, &frmcovercreator::Image_Click);
            connect(
                image, &PreviewImage::fileDropped, this,
                [this](int position, const QString& file) { m_pictures.load(file, {position}); });
        }
    }
    connect(m_tabs, &QTabWidget::currentChanged, this, &frmcovercreator::SSTab1_Click);

    auto* scanLayout = new QVBoxLayout(scan);
    scanLayout->setContentsMargins(px(120), 0, px(120), px(60));
    scanLayout->addWidget(pages[ScanTab], 1);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->setSpacing(px(105));
    scanLayout->addLayout(buttonRow);
    struct ScanButton {
        const char* name;
        const char* caption;
        void (frmcovercreator::*handler)();
    };
    const ScanButton scanButtons[] = {{"Command1", "&Source", &frmcovercreator::Command1_Click},
                                      {"Command2", "&Aquire", &frmcovercreator::Command2_Click},
                                      {"Command3", "Sa&ve", &frmcovercreator::Command3_Click}};
    for (const ScanButton& button : scanButtons) {
        auto* b = new QPushButton(button.caption);
        b->setObjectName(button.name);
        b->setAutoDefault(true); // Return presses it, as Space does
        b->setFixedSize(px(1335), px(375));
        connect(b, &QPushButton::clicked, this, button.handler);
        buttonRow->addWidget(b);
    }
    buttonRow->addStretch();
    // "Save" waits for a scanned picture.
    auto* save = scan->findChild<QPushButton*>("Command3");
    save->setEnabled(false);
    connect(&m_pictures, &PackagePictures::changed, save, [this, save](int index) {
        if (index == positions::kScanned)
            save->setEnabled(!m_pictures.isEmpty(positions::kScanned));
    });
    m_scanStatus = new QLabel;
    m_scanStatus->setObjectName("scanStatus");
    m_scanStatus->setFixedHeight(px(300));
    scanLayout->addWidget(m_scanStatus);
    return m_tabs;
}

QWidget* frmcovercreator::buildPackageOptions() {
    QWidget* right = nullptr;
    QVBoxLayout* rightLayout = column(right, OptionsWidth);
    QGroupBox* options = group("Frame4", "Package Options");
    options->setFixedHeight(px(3360));
    rightLayout->addWidget(options);
    auto* layout = new QVBoxLayout(options);
    layout->setContentsMargins(6, 4, 4, 4);
    layout->setSpacing(0);
    for (const print::PackageLayout& package : print::kPackages) {
        auto* check = new QCheckBox('&' + print::caption(package.caption));
        check->setObjectName(QStringLiteral("Check%1").arg(package.checkIndex + 1));
        check->setToolTip(print::packageToolTip(package));
        layout->addWidget(check);
        connect(check, &QCheckBox::toggled, this,
                [this, &package](bool ticked) { m_order.setTicked(package, ticked); });
        m_checks[size_t(package.checkIndex)] = check;
    }

    // How the pictures fill their prints, for every package and single print.
    layout->addSpacing(4);
    m_fill = new QComboBox;
    m_fill->setObjectName("cboFill");
    m_fill->setToolTip("How each picture fills its print.");
    for (const print::FillModeName& mode : print::kFillModes)
        m_fill->addItem(QString::fromUtf8(mode.caption.data(), qsizetype(mode.caption.size())));
    layout->addWidget(m_fill);
    // The frame is narrow: the caption takes two lines of a smaller font.
    m_turn = new QCheckBox("&Turn pictures\nto fit the print");
    QFont small = m_turn->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    m_turn->setFont(small);
    m_turn->setObjectName("chkTurn");
    m_turn->setToolTip("Turn pictures to fit the print");
    layout->addWidget(m_turn);
    m_cutGuides = new QCheckBox("Cut &guides");
    m_cutGuides->setObjectName("chkCutGuides");
    m_cutGuides->setToolTip("Thin grey marks beyond the prints' corners, to cut along.");
    layout->addWidget(m_cutGuides);
    connect(m_fill, &QComboBox::currentIndexChanged, this, &frmcovercreator::PrintOptions_Change);
    connect(m_turn, &QCheckBox::toggled, this, &frmcovercreator::PrintOptions_Change);
    connect(m_cutGuides, &QCheckBox::toggled, this, &frmcovercreator::PrintOptions_Change);

    QGroupBox* copies = group("Frame1", "Copies");
    copies->setFixedHeight(px(1260));
    rightLayout->addWidget(copies);
    m_spinner = new CopiesSpinner(copies);
    m_spinner->setObjectName("VScroll1");
    m_spinner->setGeometry(units::toScreenPixels(1020, 300, 420, 840));
    m_copies = new QLabel("1", copies);
    m_copies->setObjectName("NumberOfCopies");
    m_copies->setAlignment(Qt::AlignCenter);
    m_copies->setToolTip("Number of copies to print.");
    QFont big = m_copies->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    m_copies->setFont(big);
    m_copies->setGeometry(units::toScreenPixels(60, 300, 900, 840));
    connect(m_spinner, &CopiesSpinner::valueChanged, this, &frmcovercreator::VScroll1_Change);

    m_cmdPrint = new QPushButton("P&rint");
    m_cmdPrint->setObjectName("cmdPrint");
    m_cmdPrint->setToolTip("Print covers.");
    m_cmdPrint->setFixedHeight(px(480));
    rightLayout->addSpacing(px(60));
    rightLayout->addWidget(m_cmdPrint);
    m_cmdPrint->setEnabled(false);
    m_cmdPrint->setAutoDefault(true);
    connect(m_cmdPrint, &QPushButton::clicked, this, &frmcovercreator::cmdPrint_Click);

    // Shown only while sheets print; the window stays usable meanwhile.
    m_prgPrint = new QProgressBar;
    m_prgPrint->setObjectName("prgPrint");
    m_prgPrint->setToolTip("Sheets handed to the printer.");
    m_prgPrint->setFormat("%v of %m");
    m_prgPrint->setFixedHeight(px(300));
    m_prgPrint->hide();
    rightLayout->addWidget(m_prgPrint);
    m_cmdCancelPrint = new QPushButton("&Cancel");
    m_cmdCancelPrint->setObjectName("cmdCancelPrint");
    m_cmdCancelPrint->setToolTip("Stop printing after the sheet in hand.");
    m_cmdCancelPrint->setFixedHeight(px(375));
    m_cmdCancelPrint->setAutoDefault(true);
    m_cmdCancelPrint->hide();
    rightLayout->addWidget(m_cmdCancelPrint);
    rightLayout->addStretch();
    // Wider than designed where a caption needs it (larger fonts), so no
    // caption is cut.
    right->setFixedWidth(std::max(right->width(), right->sizeHint().width()));
    return right;
}

void frmcovercreator::buildCommands() {
    for (const Menu& menu : Menus) {
        QMenu* m = menuBar()->addMenu(menu.caption);
        m->setObjectName(menu.control);
        for (const MenuItem& item : MenuItems) {
            if (QString(item.menu) != menu.control)
                continue;
            const QString caption =
                item.caption
                    ? QString(item.caption)
                    : '&' + print::caption(print::packageOnTab(tabOf(item.command))->caption);
            QAction* action = caption == "-" ? m->addSeparator() : m->addAction(caption);
            action->setObjectName(item.control);
            const Command command = item.command;
            if (command != Command::None)
                connect(action, &QAction::triggered, this,
                        [this, command] { runCommand(command); });
            m_menuItems << action;
        }
    }

    m_toolbar = addToolBar("Toolbar1");
    m_toolbar->setObjectName("Toolbar1");
    m_toolbar->setMovable(false);
    m_toolbar->setIconSize(QSize(24, 24));
    for (const ToolbarButton& button : ToolbarButtons) {
        const QString tip =
            button.toolTip ? QString(button.toolTip)
                           : print::packageToolTip(*print::packageOnTab(tabOf(button.command)));
        QAction* action = m_toolbar->addAction(toolbarIcon(button.number, style()), tip);
        action->setObjectName(QStringLiteral("Button%1").arg(button.number));
        action->setToolTip(tip);
        m_toolbar->widgetForAction(action)->setAccessibleName(tip);
        const int number = button.number;
        connect(action, &QAction::triggered, this,
                [this, number] { Toolbar1_ButtonClick(number); });
        m_buttons[button.number - 1] = action;
    }
    m_toolbar->setMouseTracking(true);
    m_toolbar->installEventFilter(this);
    for (QWidget* w : m_toolbar->findChildren<QWidget*>()) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
}

// Tab goes the way the window reads, left to right and top to bottom: the
// browser column, the tab strip and the previews of the tab shown (hidden
// ones are passed over), the package options, "Print", the copies.
void frmcovercreator::setKeyboardOrder() {
    QList<QWidget*> order = {m_drvSelect, m_dirSelect, m_fileSelect, m_tabs};
    for (const PreviewBox& box : PreviewBoxes)
        order << m_previews[size_t(box.position)];
    for (QPushButton* scanButton : m_tabs->widget(ScanTab)->findChildren<QPushButton*>())
        order << scanButton;
    for (QCheckBox* check : m_checks)
        order << check;
    order << m_fill << m_turn << m_cutGuides << m_cmdPrint << m_cmdCancelPrint
          << m_spinner->upButton() << m_spinner->downButton();
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

QAction* frmcovercreator::menuItem(const QString& control) const {
    for (QAction* a : m_menuItems)
        if (a->objectName() == control)
            return a;
    return nullptr;
}

PreviewImage* frmcovercreator::previewImage(int position) const {
    return position >= 0 && position < positions::kCount ? m_previews[size_t(position)] : nullptr;
}

settings::Defaults frmcovercreator::defaultPlace() {
    const QString folder = paths::picturesDir();
    return {browser::driveOf(folder), folder};
}

// ---- start-up and shutdown -------------------------------------------------

void frmcovercreator::Form_Load() {
    m_state.inTray = false;
    m_pictures.setScreenCopySide(screenCopySide(QSize(px(WindowWidth), px(WindowHeight)),
                                                QSize(px(TabsWidth), px(TabsHeight))));
    settings::readini(m_settings, m_order, *this, defaultPlace());
    m_order.setSelected(print::PrintOrder::kNone);
}

void frmcovercreator::Form_Unload() {
    if (m_unloaded)
        return;
    m_unloaded = true;
    if (!settings::writeini(m_settings, m_order, *this))
        qWarning("Parvello: settings not saved to %s: %s", qPrintable(m_settings.fileName()),
                 qPrintable(m_settings.errorString()));
    m_tray->remove();
    closeAllHelpWindows();
}

void frmcovercreator::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
    // Every other window (editor, popup, dialogs) goes with the main window.
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

// ---- window state: size, place and the tray --------------------------------

void frmcovercreator::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    if (windowState() & Qt::WindowMinimized) {
        // Only where the desktop has a tray does the window go into it;
        // elsewhere it stays an ordinary minimised window.
        if (!m_state.inTray && m_tray->isAvailable())
            NoSysIcon(false);
        else if (m_state.inTray) {
            MakeTopMost(this);
            // An ordinary window again once the desktop has raised it.
            QTimer::singleShot(0, this, [this] {
                MakeNormal(this);
                ForceForegroundWindow(this);
            });
        }
    }
}

void frmcovercreator::ShowProgramInTray() {
    m_tray->show();
}

void frmcovercreator::NoSysIcon(bool maxIcon) {
    if (maxIcon) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        showNormal();
        raise();
        activateWindow();
        m_tray->remove();
        m_state.inTray = false;
    } else {
        hide();
        ShowProgramInTray();
        m_state.inTray = true;
    }
}

// ---- settings --------------------------------------------------------------

void frmcovercreator::setCurrentTab(int tab) {
    m_tabs->setCurrentIndex(tab);
    SSTab1_Click(); // also when the tab does not change
}
bool frmcovercreator::setDrive(const QString& drive) {
    // Any folder names the drive that holds it (settings of older versions
    // name a mount root).
    return !drive.isEmpty() && QFileInfo(drive).isDir() &&
           m_drvSelect->setDrive(browser::driveOf(drive));
}
bool frmcovercreator::setFolder(const QString& folder) {
    if (!m_dirSelect->setPath(folder))
        return false;
    m_drvSelect->setDrive(browser::driveOf(m_dirSelect->path()));
    dirSelect_Change();
    return true;
}
void frmcovercreator::setWindowPlace(const std::optional<WindowPlace>& place) {
    // What the window manager likely puts around the window.
    const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const QMargins frame(4, title + 4, 4, 4);
    QList<QRect> workAreas;
    for (const QScreen* s : QGuiApplication::screens()) {
        if (s == QGuiApplication::primaryScreen())
            workAreas.prepend(s->availableGeometry());
        else
            workAreas.append(s->availableGeometry());
    }
    const QSize designed(px(WindowWidth), px(WindowHeight));
    const QSize minimum =
        workAreas.isEmpty() ? designed : windowsize::smallest(designed, workAreas.first() - frame);
    setMinimumSize(minimum);
    setGeometry(windowsize::startGeometry(place ? std::optional(place->normal) : std::nullopt,
                                          designed, minimum, workAreas, frame));
    if (place && place->maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}
WindowPlace frmcovercreator::windowPlace() const {
    return {normalGeometry(), isMaximized()};
}
int frmcovercreator::currentTab() const {
    return m_tabs->currentIndex();
}
QString frmcovercreator::drive() const {
    return m_drvSelect->drive();
}
QString frmcovercreator::folder() const {
    return m_dirSelect->path();
}

// ---- the print order and its controls --------------------------------------

// The controls change the order; the order's changes show in the controls
// (also those made by the settings or a test), and a running print job
// freezes both.
void frmcovercreator::bindOrder() {
    connect(&m_order, &print::PrintOrder::tickedChanged, this, &frmcovercreator::Check_Click);
    connect(&m_order, &print::PrintOrder::copiesChanged, this, [this](int copies) {
        m_copies->setText(QString::number(copies));
        const QSignalBlocker quiet(m_spinner);
        m_spinner->setValue(copies);
    });
    connect(&m_order, &print::PrintOrder::optionsChanged, this, [this] {
        const print::PrintOptions& options = m_order.options();
        {
            const QSignalBlocker a(m_fill), b(m_turn), c(m_cutGuides);
            m_fill->setCurrentIndex(
                int(&print::fillModeName(options.fill) - print::kFillModes.data()));
            m_turn->setChecked(options.turnToFit);
            m_cutGuides->setChecked(options.cutGuides);
        }
        // Turning only means something when the picture is not stretched.
        m_turn->setEnabled(options.fill != imaging::FillMode::Stretch && !m_order.isFrozen());
        for (int i = 0; i < positions::kPackage; ++i)
            m_previews[size_t(i)]->setFillMode(options.fill, options.turnToFit);
    });
    connect(&m_order, &print::PrintOrder::selectedChanged, this, [this](int position) {
        for (int i = 0; i < positions::kPackage; ++i)
            m_previews[size_t(i)]->setSelected(i == position);
    });
    connect(&m_order, &print::PrintOrder::frozenChanged, this, [this](bool frozen) {
        for (QCheckBox* check : m_checks)
            check->setEnabled(!frozen);
        m_fill->setEnabled(!frozen);
        m_turn->setEnabled(!frozen && m_order.options().fill != imaging::FillMode::Stretch);
        m_cutGuides->setEnabled(!frozen);
        m_spinner->setEnabled(!frozen);
        Check_Click();
    });
    emit m_order.optionsChanged(); // the controls start as the order does
}

// ---- browser and previews --------------------------------------------------

void frmcovercreator::drvSelect_Change() {
    if (!m_dirSelect->setPath(m_drvSelect->drive()) ||
        !m_fileSelect->setPath(m_dirSelect->path())) {
        // Not readable: the lists keep what they showed.
        m_dirSelect->refresh();
        m_fileSelect->refresh();
    }
}

void frmcovercreator::dirSelect_Change() {
    m_drvSelect->setDrive(browser::driveOf(m_dirSelect->path()));
    m_fileSelect->setPath(m_dirSelect->path());
    update();
}

void frmcovercreator::fileSelect_Click() {
    for (const QString& file : m_fileSelect->selectedFiles())
        loadIntoPreviews(file);
}

void frmcovercreator::openFile(const QString& argument) {
    // A file manager may hand over a URI ("file:///home/anna/My%20Photos/a.jpg").
    const QUrl url(argument);
    const QFileInfo info(url.isLocalFile() ? url.toLocalFile() : argument);
    if (!info.isFile()) {
        m_popup->tell(notReadMessage(info.fileName(), QStringLiteral("there is no such file")));
        return;
    }
    if (!pictures::isReadableName(info.fileName())) {
        m_popup->tell(notReadMessage(info.fileName(),
                                     QStringLiteral("Parvello does not read this kind of file")));
        return;
    }
    if (!setFolder(info.absolutePath())) {
        m_popup->tell(
            notReadMessage(info.fileName(), QStringLiteral("its folder cannot be opened")));
        return;
    }
    m_fileSelect->clearSelection();
    if (m_fileSelect->selectFile(info.fileName()))
        fileSelect_Click();
}

void frmcovercreator::loadIntoPreviews(const QString& fileName) {
    const int selected = m_order.selected();
    const int tab = m_tabs->currentIndex();
    std::vector<int> places;
    for (const PreviewBox& box : PreviewBoxes)
        if (selected != print::PrintOrder::kNone
                ? box.position == selected
                : (previewTab(box.position) == tab && box.position < positions::kPackage))
            places.push_back(box.position);
    m_pictures.load(fileName, places);
}

void frmcovercreator::dragEnterEvent(QDragEnterEvent* event) {
    if (browser::droppedPicture(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void frmcovercreator::dropEvent(QDropEvent* event) {
    if (const auto file = browser::droppedPicture(event->mimeData())) {
        event->acceptProposedAction();
        loadIntoPreviews(*file);
    }
}

void frmcovercreator::Image_Click(int position) {
    m_order.setSelected(position);
}

void frmcovercreator::SSTab1_Click() {
    m_order.setSelected(print::PrintOrder::kNone);
}

void frmcovercreator::VScroll1_Change() {
    m_order.setCopies(m_spinner->value());
}

void frmcovercreator::Check_Click() {
    m_cmdPrint->setEnabled(m_order.anyTicked() && !m_order.isFrozen());
    Toolbar1_MouseMove(); // what a screen reader says of button 7 follows the ticks too
    for (const print::PackageLayout& package : print::kPackages) {
        QCheckBox* check = m_checks[size_t(package.checkIndex)];
        const QSignalBlocker quiet(check);
        check->setChecked(m_order.isTicked(package));
    }
}

void frmcovercreator::PrintOptions_Change() {
    m_order.setOptions({print::kFillModes[size_t(std::max(0, m_fill->currentIndex()))].mode,
                        m_turn->isChecked(), m_cutGuides->isChecked()});
}

// ---- commands --------------------------------------------------------------

void frmcovercreator::printpreview_Click() {
    print::showPrintPreview(m_order.tickedPackages(), m_order.copies(), m_pictures,
                            m_order.options());
}

void frmcovercreator::cmdPrint_Click() {
    print::askAndPrintPackages(*m_popup, this, m_order.tickedPackages(), m_order.copies(),
                               m_pictures, m_order.options(),
                               [this](print::PrintJob& job) { followPrintJob(job); });
}

// The order stays as it was printed until the job ends; its progress shows
// meanwhile, and "Cancel" stops it between sheets.
void frmcovercreator::followPrintJob(print::PrintJob& job) {
    m_order.setFrozen(true);
    m_prgPrint->setRange(0, job.sheetsTotal());
    m_prgPrint->setValue(0);
    m_prgPrint->show();
    m_cmdCancelPrint->setEnabled(true);
    m_cmdCancelPrint->show();
    connect(&job, &print::PrintJob::progress, m_prgPrint, &QProgressBar::setValue);
    connect(m_cmdCancelPrint, &QPushButton::clicked, &job, [this, &job] {
        m_cmdCancelPrint->setEnabled(false);
        job.cancel();
    });
    connect(&job, &QObject::destroyed, this, [this] {
        m_prgPrint->hide();
        m_cmdCancelPrint->hide();
        m_order.setFrozen(false);
    });
}

void frmcovercreator::Command1_Click() {
    acquire::selectSource(this);
}

void frmcovercreator::Command2_Click() {
    // Only a finished scan fills the picture.
    if (const auto scanned = acquire::acquireScan(*m_popup, this, m_settings.fileName())) {
        m_pictures.set(positions::kScanned, *scanned);
        m_scanStatus->setText(acquire::sharpSizeText(scanned->size()));
    }
}

void frmcovercreator::Command3_Click() {
    acquire::saveScan(
        *m_popup, this, m_pictures.picture(positions::kScanned),
        [this](QWidget* owner) { return acquire::chooseSaveName(owner, m_settings.fileName()); });
}

void frmcovercreator::printpictures_Click() {
    if (m_order.anyTicked()) {
        m_cmdPrint->click();
    } else if (const int selected = m_order.selected(); selected != print::PrintOrder::kNone) {
        auto* dialog =
            new print::frmPrintSingle(*m_popup, m_pictures.picture(selected), this, this);
        dialog->setPrintOptions(m_order.options(), m_pictures.framing(selected));
        dialog->show();
    } else {
        m_popup->tell(SelectPictureMessage);
    }
}

void frmcovercreator::tonwerk_Click() {
    const int selected = m_order.selected();
    if (selected == print::PrintOrder::kNone) {
        m_popup->tell(SelectPictureMessage);
        return;
    }
    auto* editor = new editor::frmManipulate(*m_popup, m_pictures.picture(selected), this);
    connect(editor, &QDialog::finished, this, [this, editor, selected](int result) {
        if (result == QDialog::Accepted)
            m_pictures.set(selected, editor->NewImage(), m_pictures.name(selected));
    });
    openOver(editor);
}

void frmcovercreator::Toolbar1_ButtonClick(int button) {
    runCommand(ToolbarButtons[button - 1].command);
}

void frmcovercreator::Toolbar1_MouseMove() {
    const QString tip = m_order.anyTicked() ? PrintPackagesTip : PrintSingleTip;
    m_buttons[6]->setToolTip(tip);
    m_toolbar->widgetForAction(m_buttons[6])->setAccessibleName(tip);
}

bool frmcovercreator::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::HoverMove ||
        event->type() == QEvent::Enter || event->type() == QEvent::ToolTip)
        Toolbar1_MouseMove();
    return QMainWindow::eventFilter(watched, event);
}

void frmcovercreator::runCommand(Command command) {
    switch (command) {
    case Command::ShowTab0:
    case Command::ShowTab1:
    case Command::ShowTab2:
    case Command::ShowTab3:
    case Command::ShowTab4:
    case Command::ShowTab5:
        m_tabs->setCurrentIndex(tabOf(command));
        SSTab1_Click();
        break;
    case Command::PrintPictures:
        printpictures_Click();
        break;
    case Command::PrintPreview:
        printpreview_Click();
        break;
    case Command::ChoosePrinter:
        openOver(new print::frmChoosePrinter(this));
        break;
    case Command::Tonwerk:
        tonwerk_Click();
        break;
    case Command::HelpContents:
        showHelpContents(this);
        break;
    case Command::Website:
        if (!weblink::OpenDocument(parvello::kMakerWebsite))
            m_popup->tell(weblink::notOpenedMessage(QUrl(parvello::kMakerWebsite)));
        break;
    case Command::CheckForUpdates:
        openOver(new updatecheck::UpdateWindow(*m_popup, this));
        break;
    case Command::About:
        openOver(new frmAbout(this));
        break;
    case Command::Exit:
        close();
        break;
    case Command::None:
        break;
    }
}
