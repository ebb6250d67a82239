#include "notify/frmmsnpopup.h"

#include "common/paths.h"
#include "common/units.h"
#include "notify/alert_sound.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <cmath>

namespace notify {

namespace {

// Form geometry in twips.
constexpr int kPanelWidth = 2055;
constexpr int kPanelHeight = 1455;
constexpr int kStartHeight = 90;   // the sliver the popup rises from
constexpr int kBelowBottom = 300;  // how far below the usable area it starts
constexpr int kStep = 30;          // twips per 10 ms tick, both ways
constexpr int kClosedHeight = 120; // at or below this it is gone

QScreen* primaryScreen() {
    return QGuiApplication::primaryScreen();
}

} // namespace

frmmsnpopup::frmmsnpopup(QWidget* mainWindow)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_mainWindow(mainWindow),
      m_sound(std::make_unique<AlertSound>(paths::dataFile("sounds/alert.wav"))) {
    setObjectName("frmmsnpopup");
    setWindowTitle("Parvello");
    auto place = [](QWidget* w, int left, int top, int width, int height) {
        w->setGeometry(units::toScreenPixels(left, top, width, height));
    };

    picBackground = new QLabel(this);
    picBackground->setObjectName("picBackground");
    place(picBackground, 0, 0, kPanelWidth, kPanelHeight);

    lblAlert = new QLabel("Alert Message", picBackground);
    lblAlert->setObjectName("lblAlert");
    lblAlert->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblAlert->setWordWrap(true);
    lblAlert->setAttribute(Qt::WA_TranslucentBackground);
    lblAlert->setAutoFillBackground(false);
    place(lblAlert, 120, 240, 1815, 615);

    auto button = [&](const char* name, const char* text, int left) {
        auto* b = new QPushButton(text, picBackground);
        b->setObjectName(name);
        place(b, left, 1080, 855, 255);
        return b;
    };
    Command1 = button("Command1", "Ok", 600);
    Command2 = button("Command2", "Print", 120);
    Command3 = button("Command3", "Cancel", 1080);
    Command4 = button("Command4", "Yes", 120);
    Command5 = button("Command5", "No", 1080);
    connect(Command1, &QPushButton::clicked, this, &frmmsnpopup::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmmsnpopup::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmmsnpopup::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frmmsnpopup::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &frmmsnpopup::Command5_Click);
    // Between the message and the answers, so that the two answers keep
    // their places.
    Command6 = new QPushButton("Print Preview", picBackground);
    Command6->setObjectName("Command6");
    Command6->setFlat(true);
    place(Command6, 120, 860, 1815, 210);
    connect(Command6, &QPushButton::clicked, this, &frmmsnpopup::Command6_Click);

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
    DisplayAlert(message);
}

void frmmsnpopup::fitMessage() {
    // The label has a fixed size: a long message gets smaller type rather
    // than losing its last line.
    QFont font = picBackground->font();
    lblAlert->setFont(font);
    while (lblAlert->heightForWidth(lblAlert->width()) > lblAlert->height() &&
           font.pointSizeF() > 5.0) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        lblAlert->setFont(font);
    }
}

void frmmsnpopup::DisplayAlert(const QString& MessageText) {
    lblAlert->setText(MessageText);
    fitMessage();

    QScreen* s = primaryScreen();
    const QRect full = s ? s->geometry() : QRect(0, 0, 1024, 768);
    const QRect usable = s ? s->availableGeometry() : full;
    // The client height of a full-screen window: the usable area less a caption.
    const int caption = style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const int fullScreenClient = usable.y() + usable.height() - caption;

    // No frame around this window: its client area is the whole window.
    m_height = kStartHeight;
    m_width = kPanelWidth;
    m_left = units::fromScreenPixels(full.x() + full.width() / 2.0) - m_width / 2;
    m_top = units::fromScreenPixels(fullScreenClient) + kBelowBottom;
    applyGeometry();
    show();
    raise();
    // Like any message box it takes the keyboard, so Escape answers it.
    activateWindow();

    m_sound->play();

    if (!m_gradient) {
        m_gradient.emplace();
        m_gradient->setAngle(-100);
        m_gradient->setColor1(RGB(61, 149, 255));
        m_gradient->setColor2(RGB(255, 255, 255));
        m_background = QImage(picBackground->size(), QImage::Format_RGB32);
        m_background.fill(Qt::white);
        m_gradient->Draw(m_background);
    }
    picBackground->setPixmap(QPixmap::fromImage(m_background));
    picBackground->update();

    tmrOpen.start();
}

void frmmsnpopup::applyGeometry() {
    const int top = units::toScreenPixels(m_top);
    setGeometry(units::toScreenPixels(m_left), top, units::toScreenPixels(m_width),
                std::max(1, units::toScreenPixels(m_top + m_height) - top));
}

void frmmsnpopup::tmrOpen_Timer() {
    const double h = std::round(m_height);
    const double target = kPanelHeight;
    if (h >= target) {
        tmrOpen.stop();
        return;
    }
    const double step = std::min<double>(kStep, target - h);
    m_height = h + step;
    m_top -= step;
    applyGeometry();
}

void frmmsnpopup::tmrClose_Timer() {
    const double h = std::round(m_height);
    if (h <= kClosedHeight) {
        Form_Unload();
        return;
    }
    m_height = h - kStep;
    m_top += kStep;
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

// Escape is the answer that changes nothing: "Cancel", "No", or "Ok".
void frmmsnpopup::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Escape || !m_loaded) {
        QWidget::keyPressEvent(event);
        return;
    }
    for (QPushButton* b : {Command3, Command5, Command1})
        if (b->isVisible()) {
            b->click();
            return;
        }
}

// Closed from outside (the window manager, the program quitting): unload.
// The caller waiting on a question reads that as "no".
void frmmsnpopup::closeEvent(QCloseEvent* event) {
    if (m_loaded)
        Form_Unload();
    event->accept();
}

} // namespace notify
