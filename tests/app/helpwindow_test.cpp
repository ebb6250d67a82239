// The help window opens at the table of contents of the pages we ship, the
// pages cover what users ask about, links work, and the window closes with
// the program.
#include "app/helpwindow.h"
#include "common/paths.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

QString helpFile(const QString& name) {
    return paths::dataFile("help/" + name);
}

QString readText(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

// Local targets of the links on a page, in order.
QStringList linksOf(const QString& page) {
    QStringList links;
    static const QRegularExpression href(QStringLiteral("href=\"([^\"#:]+)\""));
    for (const auto& m : href.globalMatch(readText(helpFile(page))))
        links << m.captured(1);
    return links;
}

void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace

TEST(HelpWindow, OpensAtTheTableOfContents) {
    QWidget mainWindow;
    QPointer<HelpWindow> help = showHelpContents(&mainWindow);
    ASSERT_TRUE(help);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->isWindow());
    EXPECT_EQ(help->browser()->source().fileName(), "index.html");
    const QString shown = help->browser()->toPlainText();
    EXPECT_TRUE(shown.contains("Contents"));
    EXPECT_TRUE(shown.contains("Printing packages and single pictures"));

    // Asking again reuses the window and goes back to the contents.
    help->browser()->setSource(QUrl::fromLocalFile(helpFile("printing.html")));
    EXPECT_EQ(help->browser()->source().fileName(), "printing.html");
    EXPECT_EQ(showHelpContents(&mainWindow), help.data());
    EXPECT_EQ(help->browser()->source().fileName(), "index.html");
    closeAllHelpWindows();
    settle();
    EXPECT_TRUE(help.isNull());
}

TEST(HelpWindow, EveryLinkLeadsToAShippedPage) {
    const QStringList pages = QDir(paths::dataFile("help")).entryList({"*.html"});
    ASSERT_GE(pages.size(), 8);
    for (const QString& page : pages) {
        for (const QString& link : linksOf(page)) {
            EXPECT_TRUE(QFile::exists(helpFile(link)))
                << page.toStdString() << " -> " << link.toStdString();
        }
    }
    // And the contents reach every page.
    QStringList fromIndex = linksOf("index.html");
    for (const QString& page : pages) {
        if (page != "index.html") {
            EXPECT_TRUE(fromIndex.contains(page)) << page.toStdString();
        }
    }
}

TEST(HelpWindow, PagesCoverWhatUsersNeed) {
    QString all;
    for (const QString& page : QDir(paths::dataFile("help")).entryList({"*.html"}))
        all += readText(helpFile(page));
    // Browsing and the picture kinds it lists.
    for (const char* word : {"GIF", "JPG", "JPEG", "BMP", "ICO", "WMF"})
        EXPECT_TRUE(all.contains(word)) << word;
    // The five packages, copies one to five, the single picture and its turns.
    for (const char* word : {"8x10", "5x7", "4x6", "3.5x5", "2.5x3.25", "from 1 to 5",
                             "Print Single Picture", "Vertical", "Horizontal"})
        EXPECT_TRUE(all.contains(word)) << word;
    // Printing without a printer, editing, scanning, saving, settings.
    for (const char* word :
         {"Documents/Parvello Prints", "Tonwerk", "Accept", "Source", "Aquire", "Save",
          "BMP, GIF, JPG, PNG or TIF", "~/.config/parvello/parvello.ini"})
        EXPECT_TRUE(all.contains(word)) << word;
}

TEST(HelpWindow, FollowingLinksAndGoingBack) {
    HelpWindow* help = showHelpContents();
    QTextBrowser* browser = help->browser();
    auto* back = help->findChild<QAction*>("actionBack");
    auto* contents = help->findChild<QAction*>("actionContents");
    ASSERT_TRUE(back && contents);
    EXPECT_FALSE(back->isEnabled());
    browser->setSource(QUrl("settings.html"));
    EXPECT_EQ(browser->source().fileName(), "settings.html");
    EXPECT_TRUE(browser->toPlainText().contains("~/.config/parvello/parvello.ini"));
    EXPECT_TRUE(back->isEnabled());
    back->trigger();
    EXPECT_EQ(browser->source().fileName(), "index.html");
    browser->setSource(QUrl("tonwerk.html"));
    contents->trigger();
    EXPECT_EQ(browser->source().fileName(), "index.html");
    closeAllHelpWindows();
}

TEST(HelpWindow, StaysUsableWhileTheMainWindowIsDisabled) {
    // A dialog or the alert popup disables the main window; help must still
    // answer then.
    QWidget mainWindow;
    mainWindow.show();
    HelpWindow* help = showHelpContents(&mainWindow);
    mainWindow.setEnabled(false);
    EXPECT_TRUE(help->isEnabled());
    EXPECT_TRUE(help->browser()->isEnabled());
    EXPECT_EQ(help->windowHandle()->transientParent(), mainWindow.windowHandle());
    mainWindow.setEnabled(true);
    closeAllHelpWindows();
}

TEST(HelpWindow, MissingPagesAreSaidInTheWindow) {
    QTemporaryDir empty;
    qputenv("PARVELLO_DATA_DIR", empty.path().toUtf8());
    HelpWindow* help = showHelpContents();
    qunsetenv("PARVELLO_DATA_DIR");
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->browser()->toPlainText().contains("Help is not available"));
    closeAllHelpWindows();
}

TEST(HelpWindow, AllHelpWindowsCloseAtShutdown) {
    auto mainWindow = std::make_unique<QWidget>();
    QPointer<HelpWindow> help = showHelpContents(mainWindow.get());
    ASSERT_TRUE(help);
    closeAllHelpWindows();
    settle();
    EXPECT_TRUE(help.isNull());
    // Nothing left to close is fine, and a new request opens a fresh window.
    closeAllHelpWindows();
    help = showHelpContents(mainWindow.get());
    EXPECT_TRUE(help && help->isVisible());
    // A help window also goes when its main window goes.
    mainWindow.reset();
    settle();
    EXPECT_TRUE(help.isNull());
    closeAllHelpWindows();
}
