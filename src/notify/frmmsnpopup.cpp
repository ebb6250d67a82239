#include "notify/frmmsnpopup.h"

#include "common/paths.h"
#include "common/units.h"
#include "notify/alert_sound.h"
#include "notify/gradient.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QWindow>
#include <algorithm>
#include <cmath>

namespace notify {

namespace {

// Form geometry in twips. The message sits 120 twips in from the sides and
// 240 from the top; below it come "Print Preview", then the answers.
constexpr int kPanelHeight = 1455; // with a message of the form's size
constexpr int kMargin = 120;
constexpr int kMessageTop = 240;
constexpr int kMessageWidth = 1815;
constexpr int kMessageHeight = 615;
constexpr int kMaxMessageWidth = 6000; // a long message grows taller past this: lines stay readable
constexpr int kPreviewGap = 5;         // from the message to "Print Preview"
constexpr int kPreviewHeight = 210;
constexpr int kButtonsGap = 225; // from the message to the answers
constexpr int kButtonWidth = 855;
constexpr int kButtonHeight = 255;
constexpr int kButtonSpacing = 105; // between two answers

constexpr int kStartHeight = 90;   // the sliver the popup rises from
constexpr int kBelowBottom = 300;  // how far below the usable area it starts
constexpr int kStep = 30;          // twips per 10 ms tick, both ways, for the form's height
constexpr int kClosedHeight = 120; // at or below this it is gone

int px(double twips) {
    return units::toScreenPixels(twips);
}

// Where the program may place its own windows. A Wayland compositor places
// them itself, and a window that moves on every tick would only flicker.
bool programPlacesWindows() {
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace

frmmsnpopup::frmmsnpopup(QWidget* mainWindow)
    : QDialog(mainWindow), m_mainWindow(mainWindow), m_slides(programPlacesWindows()),
      m_sound(std::make_unique<AlertSound>(paths::dataFile("sounds/alert.wav"))) {
    if (m_slides) {
        // A window of its own above all others, as it always was: a window
        // transient for the main window would have the window manager raise
        // the main window with it, over the dialogs the user still works in.
        setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        winId();
        windowHandle()->setTransientParent(nullptr);
    } else {
        // A compositor places the window and keeps it above others only as
        // the main window's dialog.
        setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
        if (mainWindow)
            setWindowModality(Qt::WindowModal);
    }
    setObjectName("frmmsnpopup");
    setWindowTitle("Parvello");

    picBackground = new QLabel(this);
    picBackground->setObjectName("picBackground");

    // The message scrolls only when even the work area cannot hold it.
    messageArea = new QScrollArea(picBackground);
    messageArea->setObjectName("messageArea");
    messageArea->setFrameShape(QFrame::NoFrame);
    messageArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    messageArea->setAutoFillBackground(false);
    messageArea->viewport()->setAutoFillBackground(false);
    lblAlert = new QLabel("Alert Message");
    lblAlert->setObjectName("lblAlert");
    lblAlert->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblAlert->setWordWrap(true);
    lblAlert->setAttribute(Qt::WA_TranslucentBackground);
    messageArea->setWidget(lblAlert);
    lblAlert->setAutoFillBackground(false); // the scroll area turned it on

    auto button = [&](const char* name, const char* text) {
        auto* b = new QPushButton(text, picBackground);
        b->setObjectName(name);
        return b;
    };
    Command1 = button("Command1", "Ok");
    Command2 = button("Command2", "Print");
    Command3 = button("Command3", "Cancel");
    Command4 = button("Command4", "Yes");
    Command5 = button("Command5", "No");
    Command6 = button("Command6", "Print Preview");
    // Return answers "Ok", "Print" or "Yes" unless another answer has the focus.
    Command6->setAutoDefault(false);
    connect(Command1, &QPushButton::clicked, this, &frmmsnpopup::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmmsnpopup::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmmsnpopup::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frmmsnpopup::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &frmmsnpopup::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &frmmsnpopup::Command6_Click);
    setTabOrder(Command2, Command6);
    setTabOrder(Command6, Command3);

    // A click on the held main window must not bury the popup. On X11 it
    // stays above every window; a Wayland compositor may raise the main
    // window over its dialog (sway does) and Qt cannot ask for the keyboard
    // back there, so the popup is shown anew: a new window comes to the front
    // with the keyboard.
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* focused) {
        if (!m_loaded || m_slides || !focused || !m_mainWindow ||
            focused != m_mainWindow->windowHandle())
            return;
        QTimer::singleShot(0, this, [this] {
            if (!m_loaded)
                return;
            hide();
            show();
        });
    });

    tmrOpen.setInterval(10);
    tmrClose.setInterval(10);
    connect(&tmrOpen, &QTimer::timeout, this, &frmmsnpopup::tmrOpen_Timer);
    connect(&tmrClose, &QTimer::timeout, this, &frmmsnpopup::tmrClose_Timer);
}

frmmsnpopup::~frmmsnpopup() = default;

// A message given while the popup is up only brings it forward: the new
// message is not shown.
void frmmsnpopup::tell(const QString& message) {
    if (m_loaded) {
        raise();
        return;
    }
    Form_Load(Kind::Message, message);
}

void frmmsnpopup::askPrint(const QString& message, Answer answered, std::function<void()> preview) {
    m_waiting.push_back({Kind::PrintQuestion, message, std::move(answered), std::move(preview)});
    askNext();
}

void frmmsnpopup::askYesNo(const QString& message, Answer answered) {
    m_waiting.push_back({Kind::YesNoQuestion, message, std::move(answered), {}});
    askNext();
}

// A question waits for the popup before it to go, so that its answer is
// always the user's answer to this question, never one left over.
void frmmsnpopup::askNext() {
    if (m_loaded || m_waiting.empty())
        return;
    Question next = std::move(m_waiting.front());
    m_waiting.pop_front();
    m_answered = std::move(next.answered);
    m_preview = std::move(next.preview);
    m_answer = false; // closed without a click (window manager, Escape) is "no"
    Form_Load(next.kind, next.message);
}

void frmmsnpopup::Form_Load(Kind kind, const QString& message) {
    m_loaded = true;
    m_hold.emplace(m_mainWindow);
    Command1->setVisible(kind == Kind::Message);
    Command2->setVisible(kind == Kind::PrintQuestion);
    Command3->setVisible(kind == Kind::PrintQuestion);
    Command4->setVisible(kind == Kind::YesNoQuestion);
    Command5->setVisible(kind == Kind::YesNoQuestion);
    Command6->setVisible(kind == Kind::PrintQuestion && m_preview);
    QPushButton* answer = kind == Kind::Message         ? Command1
                          : kind == Kind::PrintQuestion ? Command2
                                                        : Command4;
    answer->setDefault(true);
    DisplayAlert(message);
    answer->setFocus();
}

// Lays the form out around a message of its own size at the usual type,
// and returns the panel's size in pixels.
QSize frmmsnpopup::layOut(const QRect& workArea) {
    const int sides = 2 * px(kMargin);
    const int below = px(kButtonsGap + kButtonHeight + kMargin);
    const int height = px(kMessageHeight);
    const int widest =
        std::max(px(kMessageWidth), std::min(px(kMaxMessageWidth), workArea.width() - sides));
    const int tallest = std::max(height, workArea.height() - px(kMessageTop) - below);

    // Wider first: the narrowest width at which the message fits the
    // form's height, then taller at the widest.
    int width = px(kMessageWidth);
    if (lblAlert->heightForWidth(width) > height) {
        int fits = widest;
        while (width < fits) {
            const int middle = (width + fits) / 2;
            if (lblAlert->heightForWidth(middle) > height)
                width = middle + 1;
            else
                fits = middle;
        }
    }
    const int needed = lblAlert->heightForWidth(width);
    const int shown = std::clamp(needed, height, tallest);
    if (needed > shown) {
        const int bar = messageArea->verticalScrollBar()->sizeHint().width();
        lblAlert->resize(width - bar, lblAlert->heightForWidth(width - bar));
    } else {
        lblAlert->resize(width, shown);
    }
    messageArea->setGeometry(px(kMargin), px(kMessageTop), width, shown);

    const QSize panel(width + sides, px(kMessageTop) + shown + below);
    const int bottom = px(kMessageTop) + shown;
    const int centre = panel.width() / 2;
    const int buttonWidth = px(kButtonWidth);
    const int left = centre - px(kButtonSpacing / 2.0) - buttonWidth;
    const int right = centre + px(kButtonSpacing / 2.0);
    const int buttonsTop = bottom + px(kButtonsGap);
    for (QPushButton* b : {Command2, Command4})
        b->setGeometry(left, buttonsTop, buttonWidth, px(kButtonHeight));
    for (QPushButton* b : {Command3, Command5})
        b->setGeometry(right, buttonsTop, buttonWidth, px(kButtonHeight));
    Command1->setGeometry(centre - buttonWidth / 2, buttonsTop, buttonWidth, px(kButtonHeight));
    const int previewWidth = std::max(buttonWidth, Command6->sizeHint().width());
    Command6->setGeometry(centre - previewWidth / 2, bottom + px(kPreviewGap), previewWidth,
                          px(kPreviewHeight));
    picBackground->setGeometry(QRect(QPoint(0, 0), panel));
    return panel;
}

void frmmsnpopup::paintBackground(QSize size) {
    // Made at the screen's own pixels, so the gradient stays smooth at any scale.
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size) * ratio).toSize();
    if (m_background.size() == pixels && m_background.devicePixelRatio() == ratio)
        return;
    msnpopupGradient gradient;
    gradient.setAngle(-100);
    gradient.setColor1(RGB(61, 149, 255));
    gradient.setColor2(RGB(255, 255, 255));
    m_background = QImage(pixels, QImage::Format_RGB32);
    m_background.fill(Qt::white);
    gradient.Draw(m_background);
    m_background.setDevicePixelRatio(ratio);
    picBackground->setPixmap(QPixmap::fromImage(m_background));
}

void frmmsnpopup::DisplayAlert(const QString& MessageText) {
    lblAlert->setText(MessageText);

    QScreen* s = QGuiApplication::primaryScreen();
    const QRect full = s ? s->geometry() : QRect(0, 0, 1024, 768);
    const QRect usable = s ? s->availableGeometry() : full;
    const QSize panel = layOut(usable);
    paintBackground(panel);
    m_width = units::fromScreenPixels(panel.width());
    m_panelHeight = units::fromScreenPixels(panel.height());
    // A taller popup rises faster: every popup takes as long as the form's.
    m_step = std::max<double>(kStep, std::round(kStep * m_panelHeight / kPanelHeight));

    if (m_slides) {
        // The client height of a full-screen window: the usable area less a caption.
        const int caption = style()->pixelMetric(QStyle::PM_TitleBarHeight);
        const int fullScreenClient = usable.y() + usable.height() - caption;
        // No frame around this window: its client area is the whole window.
        m_height = kStartHeight;
        m_left = units::fromScreenPixels(full.x() + full.width() / 2.0) - m_width / 2;
        m_top = units::fromScreenPixels(fullScreenClient) + kBelowBottom;
        // Never above the usable area, however tall the message made it.
        m_top = std::max(m_top, units::fromScreenPixels(usable.y()) + m_panelHeight - m_height);
        applyGeometry();
    } else {
        m_height = m_panelHeight;
        resize(panel);
    }
    show();
    raise();
    // Like any message box it takes the keyboard, so Return and Escape answer it.
    activateWindow();

    m_sound->play();
    if (m_slides)
        tmrOpen.start();
}

void frmmsnpopup::applyGeometry() {
    const int top = px(m_top);
    setGeometry(px(m_left), top, px(m_width), std::max(1, px(m_top + m_height) - top));
}

void frmmsnpopup::tmrOpen_Timer() {
    const double h = std::round(m_height);
    const double target = std::round(m_panelHeight);
    if (h >= target) {
        tmrOpen.stop();
        return;
    }
    const double step = std::min(m_step, target - h);
    m_height = h + step;
    m_top -= step;
    applyGeometry();
}

void frmmsnpopup::tmrClose_Timer() {
    const double h = std::round(m_height);
    if (!m_slides || h <= kClosedHeight) {
        Form_Unload();
        return;
    }
    m_height = h - m_step;
    m_top += m_step;
    applyGeometry();
}

// A click while the popup is still rising closes it all the same: the
// rising stops, so the two animations never pull against each other.
void frmmsnpopup::startClosing() {
    tmrOpen.stop();
    tmrClose.start();
}

void frmmsnpopup::Command1_Click() {
    startClosing();
}

// The last click before the popup has gone is the answer.
void frmmsnpopup::answer(bool yes) {
    m_answer = yes;
    startClosing();
}

void frmmsnpopup::Command2_Click() {
    answer(true); // "Print"
}

// Opens the preview and leaves the question open.
void frmmsnpopup::Command6_Click() {
    if (m_preview)
        m_preview();
}

void frmmsnpopup::Command3_Click() {
    answer(false); // "Cancel"
}

void frmmsnpopup::Command4_Click() {
    answer(true); // "Yes"
}

void frmmsnpopup::Command5_Click() {
    answer(false); // "No"
}

void frmmsnpopup::Form_Unload() {
    tmrOpen.stop();
    tmrClose.stop();
    const bool wasLoaded = m_loaded;
    m_loaded = false;
    hide();
    if (!wasLoaded)
        return;
    m_hold.reset();
    // The answer is given once the popup has gone, so that what the caller
    // says next is displayed.
    m_preview = {};
    if (Answer answered = std::exchange(m_answered, nullptr))
        answered(m_answer);
    askNext();
}

void frmmsnpopup::reject() {
    if (!m_loaded)
        return;
    for (QPushButton* b : {Command3, Command5, Command1})
        if (b->isVisible()) {
            b->click();
            return;
        }
}

// Qt disables a dialog together with the window it belongs to, but the popup
// is what the user answers while that window is held.
void frmmsnpopup::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && !isEnabled() &&
        !testAttribute(Qt::WA_ForceDisabled))
        setEnabled(true);
}

// Closed from outside (the window manager, the program quitting): unload.
// The caller waiting on a question reads that as "no".
void frmmsnpopup::closeEvent(QCloseEvent* event) {
    if (m_loaded)
        Form_Unload();
    event->accept();
}

} // namespace notify
