#include "app/frmsplash.h"

#include "common/paths.h"
#include "common/version.h"

#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QScreen>

namespace {

// The splash picture at the primary screen's own pixels: drawn from its SVG
// on a high-density screen, where the SVG can be read.
QPixmap splashPicture() {
    QPixmap picture(paths::dataFile("pictures/splash.png"));
    if (picture.isNull()) {
        picture = QPixmap(400, 270);
        picture.fill(QColor(0x1d, 0x3d, 0x6b));
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal ratio = screen ? screen->devicePixelRatio() : 1;
    if (ratio == 1)
        return picture;
    QImageReader svg(paths::dataFile("pictures/splash.svg"));
    svg.setScaledSize((QSizeF(picture.size()) * ratio).toSize());
    const QImage sharp = svg.read();
    QPixmap shown = sharp.isNull() ? picture.scaled(svg.scaledSize(), Qt::IgnoreAspectRatio,
                                                    Qt::SmoothTransformation)
                                   : QPixmap::fromImage(sharp);
    shown.setDevicePixelRatio(ratio);
    return shown;
}

} // namespace

frmSplash::frmSplash(std::function<void()> buildMain, std::function<void()> showMain,
                     QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint),
      m_buildMain(std::move(buildMain)), m_showMain(std::move(showMain)),
      m_version(new QLabel(QStringLiteral("Version %1").arg(parvello::kVersion), this)),
      m_notice(new QLabel("Portrait package printing \u00b7 Quenwick", this)) {
    setObjectName("frmSplash");
    setAttribute(Qt::WA_DeleteOnClose);
    QPixmap background = splashPicture();
    setFixedSize(background.deviceIndependentSize().toSize());
    auto* picture = new QLabel(this);
    picture->setPixmap(background);
    picture->setGeometry(rect());
    picture->lower();

    m_version->setObjectName("Label1");
    m_notice->setObjectName("Label2");
    for (QLabel* label : {m_version, m_notice}) {
        label->setStyleSheet("color: white; background: transparent;");
        label->setAlignment(Qt::AlignRight);
    }
    QFont bold = m_version->font();
    bold.setBold(true);
    m_version->setFont(bold);
    m_version->setGeometry(width() - 220, height() - 52, 200, 20);
    m_notice->setGeometry(width() - 320, height() - 30, 300, 20);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());

    m_timer.setInterval(ShowMilliseconds);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &frmSplash::Timer1_Timer);
    setFocusPolicy(Qt::StrongFocus);
}

void frmSplash::Timer1_Timer() {
    m_shownLongEnough = true;
    // Built by now, unless the splash never painted: then it is built here.
    buildMain();
}

void frmSplash::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    // The main window is built after this paint has reached the screen, so
    // the splash shows while it is built.
    if (!m_painted) {
        m_painted = true;
        QTimer::singleShot(0, this, &frmSplash::buildMain);
    }
}

void frmSplash::buildMain() {
    if (!m_built) {
        m_built = true;
        if (m_buildMain)
            m_buildMain();
    }
    if (m_shownLongEnough)
        unload();
}

// Window managers give no focus to a splash window of their own accord: it
// takes the keyboard, so that any key ends it.
void frmSplash::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The second counts from when the splash shows.
    if (!m_done && !m_shownLongEnough && !m_timer.isActive())
        m_timer.start();
    activateWindow();
    grabKeyboard();
}

void frmSplash::keyPressEvent(QKeyEvent*) {
    unload();
}

void frmSplash::mousePressEvent(QMouseEvent*) {
    unload();
}

void frmSplash::unload() {
    if (m_done)
        return;
    m_done = true;
    m_timer.stop();
    releaseKeyboard();
    close();
    m_built = true; // showMain builds it if it is not yet
    if (m_showMain)
        m_showMain();
}
