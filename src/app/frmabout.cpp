#include "app/frmabout.h"

#include "common/paths.h"
#include "common/units.h"
#include "common/version.h"

#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, QRect where) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    QFont font;
    font.setFamilies({"MS Sans Serif", "Nimbus Sans", "Liberation Sans", "Arial"});
    font.setPointSizeF(8.25);
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    label->setAttribute(Qt::WA_TranslucentBackground);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    label->setGeometry(where);
    return label;
}

} // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(units::toScreenPixels(7200), units::toScreenPixels(5565));
    m_background.load(paths::dataFile(QStringLiteral("pictures/about.png")));

    lblVersion = makeLabel(this, "lblVersion", QStringLiteral("Version %1").arg(parvello::kVersion),
                           units::toScreenPixels(2400, 5040, 2415, 255));
    lblNotice =
        makeLabel(this, "lblNotice", QStringLiteral("Copyright \u00a9 2026 Quenwick Software"),
                  units::toScreenPixels(1680, 5280, 3975, 255));
    // Clicks on the text belong to the text, not to the background.
    lblVersion->installEventFilter(this);
    lblNotice->installEventFilter(this);

    // In the corner below the picture's art, beside the text. It is the
    // default button, so Return closes the box as Escape does.
    cmdClose = new QPushButton(QStringLiteral("Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setGeometry(units::toScreenPixels(5880, 5040, 1200, 375));
    cmdClose->setDefault(true);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
}

void frmAbout::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_background.isNull()) {
        painter.drawPixmap(rect(), m_background);
        return;
    }
    // Without its picture the box still reads: white text on a dark ground.
    QLinearGradient ground(0, 0, 0, height());
    ground.setColorAt(0, QColor(0x1f, 0x3a, 0x5f));
    ground.setColorAt(1, QColor(0x0b, 0x16, 0x26));
    painter.fillRect(rect(), ground);
}

void frmAbout::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void frmAbout::mouseReleaseEvent(QMouseEvent* event) {
    // A click is a press and a release on the background.
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint()) &&
                       childAt(event->position().toPoint()) == nullptr;
    m_pressed = false;
    event->accept();
    if (click)
        Form_Click();
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        m_pressed = false;
        return true;
    default:
        return QDialog::eventFilter(watched, event);
    }
}

void frmAbout::Form_Click() {
    accept();
}
