#include "app/helpwindow.h"

#include "common/paths.h"

#include <QAction>
#include <QFileInfo>
#include <QList>
#include <QPointer>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWindow>

namespace {

QList<QPointer<HelpWindow>>& openWindows() {
    static QList<QPointer<HelpWindow>> windows;
    return windows;
}

QString helpDir() {
    return paths::dataFile(QStringLiteral("help"));
}

} // namespace

// The help window is not a child of its owner: a child would be disabled
// whenever the main window is (while a dialog or the alert popup is up), and
// help is wanted most just then. It stays above its owner as a transient
// window instead and goes when the owner goes.
HelpWindow::HelpWindow(QWidget* owner) : QWidget(nullptr, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    if (owner) {
        connect(owner, &QObject::destroyed, this, &QWidget::close);
        if (QWindow* ownerWindow = owner->window()->windowHandle()) {
            winId(); // creates our own platform window
            windowHandle()->setTransientParent(ownerWindow);
        }
    }
    setWindowTitle(QStringLiteral("Parvello Help"));
    resize(720, 560);

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    m_browser->setSearchPaths({helpDir()});
    // Pages link to each other; links to the web go to the browser.
    m_browser->setOpenExternalLinks(true);

    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction* contents =
        bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("&Contents"));
    contents->setObjectName(QStringLiteral("actionContents"));
    QAction* back =
        bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("&Back"));
    back->setObjectName(QStringLiteral("actionBack"));
    QAction* forward =
        bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("&Forward"));
    forward->setObjectName(QStringLiteral("actionForward"));
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(contents, &QAction::triggered, this, &HelpWindow::showContents);
    connect(back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(m_browser);
}

void HelpWindow::showContents() {
    const QString index = helpDir() + QStringLiteral("/index.html");
    if (!QFileInfo::exists(index)) {
        // Said here, in the help window itself, rather than as a program error.
        m_browser->setHtml(QStringLiteral("<h2>Help is not available</h2>"
                                          "<p>The help pages were not found in <tt>%1</tt>. "
                                          "Reinstalling Parvello puts them back.</p>")
                               .arg(helpDir().toHtmlEscaped()));
        return;
    }
    m_browser->setSource(QUrl::fromLocalFile(index));
}

HelpWindow* showHelpContents(QWidget* owner) {
    auto& windows = openWindows();
    windows.removeAll(nullptr);
    HelpWindow* window = windows.isEmpty() ? nullptr : windows.first().data();
    if (!window) {
        window = new HelpWindow(owner);
        windows.append(window);
    }
    window->showContents();
    window->showNormal();
    window->raise();
    window->activateWindow();
    return window;
}

void closeAllHelpWindows() {
    auto& windows = openWindows();
    const auto all = windows;
    windows.clear();
    for (const QPointer<HelpWindow>& window : all)
        if (window)
            window->close();
}
