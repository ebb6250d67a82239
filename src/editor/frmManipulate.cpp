#include "editor/frmManipulate.h"

#include "common/units.h"
#include "editor/editor_menus.h"
#include "editor/picture_display.h"
#include "imaging/transforms.h"
#include "notify/prompt.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <exception>
#include <utility>

namespace editor {

namespace {

const QString Caption = QStringLiteral("Tonwerk");

// Tool tips of the toolbar buttons, by index 1 to 5.
const char* const ToolbarTips[] = {"Rotate", "Mirror", "Flip", "Brightness", "Undo Last Change"};

// The display boxes are 2400 twips square.
constexpr int kDisplayTwips = 2400;

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// Small drawn icons, so the toolbar needs no files.
QIcon toolbarIcon(int index) {
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 40, 40), 2));
    switch (index) {
    case 1: { // a turning arrow
        p.drawArc(QRectF(4, 4, 16, 16), 90 * 16, -270 * 16);
        QPainterPath head;
        head.moveTo(12, 0);
        head.lineTo(17, 4);
        head.lineTo(12, 8);
        head.closeSubpath();
        p.fillPath(head, QColor(40, 40, 40));
        break;
    }
    case 2: { // two triangles facing a vertical axis
        p.drawLine(12, 2, 12, 22);
        p.setBrush(QColor(40, 40, 40));
        p.drawPolygon(QPolygonF({QPointF(3, 12), QPointF(9, 6), QPointF(9, 18)}));
        p.setBrush(Qt::NoBrush);
        p.drawPolygon(QPolygonF({QPointF(21, 12), QPointF(15, 6), QPointF(15, 18)}));
        break;
    }
    case 3: { // the same about a horizontal axis
        p.drawLine(2, 12, 22, 12);
        p.setBrush(QColor(40, 40, 40));
        p.drawPolygon(QPolygonF({QPointF(12, 3), QPointF(6, 9), QPointF(18, 9)}));
        p.setBrush(Qt::NoBrush);
        p.drawPolygon(QPolygonF({QPointF(12, 21), QPointF(6, 15), QPointF(18, 15)}));
        break;
    }
    case 4: { // a sun
        p.setBrush(QColor(250, 200, 40));
        p.drawEllipse(QPointF(12, 12), 5, 5);
        for (int k = 0; k < 8; ++k) {
            p.save();
            p.translate(12, 12);
            p.rotate(45.0 * k);
            p.drawLine(0, 8, 0, 11);
            p.restore();
        }
        break;
    }
    default: { // an arrow back
        p.drawArc(QRectF(6, 6, 14, 14), 90 * 16, -180 * 16);
        p.drawLine(13, 6, 7, 6);
        QPainterPath head;
        head.moveTo(3, 6);
        head.lineTo(9, 2);
        head.lineTo(9, 10);
        head.closeSubpath();
        p.fillPath(head, QColor(40, 40, 40));
        break;
    }
    }
    return QIcon(pixmap);
}

} // namespace

QString BrightnessCaption(int level) {
    return QStringLiteral("Tonwerk - Brightness Level ->  ") + QString::number(level) +
           QStringLiteral("%  <-");
}

QString LevelText(int level) {
    return QStringLiteral("Level: %1%").arg(level);
}

frmManipulate::frmManipulate(notify::Prompt& prompt, const QImage& picture, QWidget* parent)
    : QDialog(parent), m_prompt(prompt), m_picture(picture) {
    setObjectName(QStringLiteral("frmManipulate"));
    setWindowTitle(Caption);
    // Modal to the main window only: the popup, a window of its own, must
    // stay usable to say what went wrong while the editor is open.
    setWindowModality(Qt::WindowModal);
    buildControls();
    // The bar follows the worker's percentage often enough to look smooth.
    m_progressTimer.setInterval(40);
    connect(&m_progressTimer, &QTimer::timeout, this,
            [this] { m_progressBar->setValue(m_filter.progress()); });
    connect(&m_filter, &BackgroundFilter::finished, this, &frmManipulate::filterFinished);
    Form_Load();
}

frmManipulate::~frmManipulate() {
    unlockform();
}

void frmManipulate::buildMenus() {
    m_menuBar = new QMenuBar(this);
    for (int m = 0; m < 3; ++m) {
        m_menus[m] = m_menuBar->addMenu(fromView(kEditorMenus[m].caption));
        m_menus[m]->setObjectName(fromView(kEditorMenus[m].control));
    }
    for (const EditorMenuItem& item : kEditorMenuItems) {
        QAction* action = nullptr;
        if (item.separator) {
            action = m_menus[item.menu]->addSeparator();
        } else {
            // "&Black & White": the first & marks the access key, a lone one
            // is shown as itself.
            QString caption = fromView(item.caption);
            caption.replace(QLatin1String("& "), QLatin1String("&& "));
            action = m_menus[item.menu]->addAction(caption);
            const std::string_view control = item.control;
            connect(action, &QAction::triggered, this,
                    [this, control] { filterCommand_Click(control); });
        }
        action->setObjectName(fromView(item.control));
    }
}

void frmManipulate::buildToolbar() {
    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setIconSize(QSize(24, 24));
    for (int i = 1; i <= 5; ++i) {
        QAction* button =
            Toolbar1->addAction(toolbarIcon(i), QString::fromLatin1(ToolbarTips[i - 1]));
        button->setToolTip(QString::fromLatin1(ToolbarTips[i - 1]));
        button->setObjectName(QStringLiteral("Toolbar1_Button%1").arg(i));
        connect(button, &QAction::triggered, this, [this, i] { Toolbar1_ButtonClick(i); });
        if (i == 5)
            m_undoButton = button;
    }
}

void frmManipulate::buildControls() {
    buildMenus();
    buildToolbar();

    const int displaySide = units::toScreenPixels(kDisplayTwips);
    Label1 = new QLabel(QStringLiteral("Original Picture"), this);
    Label2 = new QLabel(QStringLiteral("Modified Picture"), this);
    Original = new PictureDisplay(this);
    Original->setObjectName(QStringLiteral("Original"));
    NewImageDisplay = new PictureDisplay(this);
    NewImageDisplay->setObjectName(QStringLiteral("NewImage"));
    for (PictureDisplay* d : {Original, NewImageDisplay})
        d->setFixedSize(displaySide, displaySide);

    Frame1 = new QGroupBox(QStringLiteral("Brightness Level"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    HScroll1 = new QScrollBar(Qt::Horizontal, Frame1);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    HScroll1->setRange(imaging::kMinBrightness, imaging::kMaxBrightness);
    HScroll1->setValue(0);
    HScroll1->setSingleStep(1);
    HScroll1->setPageStep(10);
    // Moves over the scroll bar stay with it: only the frame around it resets the caption.
    HScroll1->setMouseTracking(true);
    lblLevel = new QLabel(Frame1);
    lblLevel->setObjectName(QStringLiteral("lblLevel"));
    lblLevel->setAlignment(Qt::AlignCenter);
    auto* frameLayout = new QVBoxLayout(Frame1);
    frameLayout->addWidget(HScroll1);
    frameLayout->addWidget(lblLevel);
    connect(HScroll1, &QScrollBar::valueChanged, this, &frmManipulate::HScroll1_Change);
    connect(HScroll1, &QScrollBar::sliderMoved, this, &frmManipulate::HScroll1_Change);

    m_progressBar = new QProgressBar(this);
    m_progressBar->setObjectName(QStringLiteral("progressBar"));
    m_progressBar->setRange(0, 100);
    m_progressBar->setValue(0);

    Command5 = new QPushButton(QStringLiteral("&Accept"), this);
    Command5->setObjectName(QStringLiteral("Command5"));
    Command5->setToolTip(QStringLiteral("Accept Changes"));
    Command2 = new QPushButton(QStringLiteral("Cance&l"), this); // Alt+C opens "Colors"
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setToolTip(QStringLiteral("Cancel"));
    connect(Command5, &QPushButton::clicked, this, &frmManipulate::Command5_Click);
    connect(Command2, &QPushButton::clicked, this, &frmManipulate::Command2_Click);

    // The caption goes back to "Tonwerk" when the mouse moves over the frame or the toolbar.
    // The toolbar's buttons keep mouse moves to themselves, so they are watched too.
    // Tab reaches the toolbar's buttons too, and Return presses them as it does a button.
    QList<QWidget*> watched = {Frame1, Toolbar1};
    for (QToolButton* b : Toolbar1->findChildren<QToolButton*>()) {
        b->setFocusPolicy(Qt::TabFocus);
        watched.append(b);
    }
    for (QWidget* w : watched) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }

    auto* pictures = new QGridLayout;
    pictures->addWidget(Label1, 0, 0);
    pictures->addWidget(Label2, 0, 1);
    pictures->addWidget(Original, 1, 0);
    pictures->addWidget(NewImageDisplay, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command5);
    buttons->addWidget(Command2);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(m_menuBar);
    layout->addWidget(Toolbar1);
    layout->addLayout(pictures);
    layout->addWidget(Frame1);
    layout->addWidget(m_progressBar);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void frmManipulate::Form_Load() {
    // The states start from the picture already.
    refreshDisplays();
    lblLevel->setText(LevelText(HScroll1->value()));
}

void frmManipulate::Form_Activate() {
    m_picture.activate();
    refreshDisplays();
}

void frmManipulate::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Only the first activation starts again from the original: coming back from a message
    // or another application must not throw the edits away.
    if (!m_activated) {
        m_activated = true;
        Form_Activate();
    }
}

void frmManipulate::refreshDisplays() {
    Original->setPicture(m_picture.original());
    NewImageDisplay->setPicture(m_picture.current());
    // "Undo Last Change" greys out when there is nothing left to undo.
    m_undoButton->setEnabled(m_picture.undoSteps() > 0);
}

void frmManipulate::lockform() {
    if (!m_locked) {
        m_locked = true;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    Toolbar1->setEnabled(false);
    for (QMenu* menu : m_menus)
        menu->menuAction()->setEnabled(false);
    HScroll1->setEnabled(false);
    Command5->setEnabled(false);
}

void frmManipulate::unlockform() {
    if (m_locked) {
        m_locked = false;
        QApplication::restoreOverrideCursor();
    }
    Toolbar1->setEnabled(true);
    for (QMenu* menu : m_menus)
        menu->menuAction()->setEnabled(true);
    HScroll1->setEnabled(true);
    Command5->setEnabled(true);
}

bool frmManipulate::beginCommand() {
    if (m_running)
        return false;
    m_running = true;
    m_cancelRequested = false;
    lockform();
    return true;
}

void frmManipulate::endCommand(const CommandResult& result) {
    m_running = false;
    m_progressBar->setValue(0);
    refreshDisplays();
    unlockform();
    if (result.status == CommandResult::Status::Failed)
        m_prompt.tell(result.message);
}

template <typename Command> void frmManipulate::runCommand(Command&& command) {
    // The toolbar's commands take some 50 ms on 24 megapixels, half of it the undo history's
    // copy: not worth a thread.
    if (!beginCommand())
        return;
    // A command that throws (memory runs out half-way) is undone as a whole.
    const EditedPicture before = m_picture;
    CommandResult result;
    try {
        result = command();
    } catch (const std::exception&) {
        m_picture = before;
        result = {CommandResult::Status::Failed,
                  QStringLiteral("Not enough memory to change this picture.")};
    }
    endCommand(result);
}

void frmManipulate::filterCommand_Click(std::string_view control) {
    const EditorMenuItem* item = FindEditorMenuItem(control);
    if (!item || item->separator || !beginCommand())
        return;
    m_progressTimer.start();
    m_filter.start(m_picture.current(), item->code, item->value);
}

void frmManipulate::filterFinished(FilteredPicture filtered) {
    m_progressTimer.stop();
    // After "Cancel" nothing of the run is kept, even when it got to its end first.
    endCommand(m_cancelRequested ? CommandResult{CommandResult::Status::Cancelled, {}}
                                 : m_picture.takeFiltered(std::move(filtered)));
}

void frmManipulate::Toolbar1_ButtonClick(int index) {
    switch (index) {
    case 1:
        runCommand([this] { return m_picture.rotate(); });
        break;
    case 2:
        runCommand([this] { return m_picture.mirror(); });
        break;
    case 3:
        runCommand([this] { return m_picture.flip(); });
        break;
    case 4:
        runCommand([this] { return m_picture.brightness(HScroll1->value()); });
        break;
    case 5:
        runCommand([this] { return m_picture.undo(); });
        break;
    default:
        break;
    }
}

void frmManipulate::HScroll1_Change(int level) {
    setWindowTitle(BrightnessCaption(level));
    lblLevel->setText(LevelText(level));
}

bool frmManipulate::eventFilter(QObject* watched, QEvent* event) {
    const bool overToolbar = watched == Toolbar1 || watched->parent() == Toolbar1;
    if ((watched == Frame1 || overToolbar) && event->type() == QEvent::MouseMove)
        setWindowTitle(Caption);
    if (event->type() == QEvent::KeyPress && watched->parent() == Toolbar1) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (auto* button = qobject_cast<QToolButton*>(watched);
            button && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            button->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmManipulate::Command5_Click() {
    if (m_running)
        return;
    m_accepted = true;
    QDialog::accept();
}

void frmManipulate::Command2_Click() {
    // The window closes at once. A running filter is cancelled through the engine's row hook
    // rather than waited for: it works on a copy of its own, so nothing needs to wait for it,
    // and it stops within a row. Its result is dropped when it comes.
    m_cancelRequested = true;
    m_filter.cancel();
    m_accepted = false;
    unlockform();
    QDialog::reject();
}

void frmManipulate::reject() {
    Command2_Click();
}

} // namespace editor
