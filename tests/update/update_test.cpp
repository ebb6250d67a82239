// The update window against a real HTTP server on 127.0.0.1: the published
// version decides the layout, and every kind of broken server or version file
// ends in the up-to-date layout with a reason, never in a hang or a crash.
#include "support/fake_prompt.h"
#include "update/update_window.h"
#include "version_server.h"

#include <QDesktopServices>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace std::chrono_literals;
using updatecheck::UpdateWindow;

namespace {

const QString kSearching = QStringLiteral("Searching for newer versions of Parvello");
const QString kNew = QStringLiteral("A new update is available!");
const QString kUpToDate = QStringLiteral("Your version is up to date!");

// Takes the addresses the program hands to the desktop instead of a browser.
class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    UrlCatcher() {
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "open");
    }
    ~UrlCatcher() override {
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    }
    QList<QUrl> opened;
  public slots:
    void open(const QUrl& url) { opened.append(url); }
};

QString text(const UpdateWindow& w, const char* name) {
    const auto* label = w.findChild<QLabel*>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<no label %1>").arg(name);
}

QPushButton* button(const UpdateWindow& w, const char* name) {
    return w.findChild<QPushButton*>(QLatin1String(name));
}

// Label1's text is read whole: it fits its label on one line.
void expectLabel1Fits(const UpdateWindow& w) {
    const auto* label = w.findChild<QLabel*>(QStringLiteral("Label1"));
    ASSERT_NE(label, nullptr);
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
        << label->text().toStdString();
}

// Which of Yes, Cancel, Close are shown, as "YC-" / "--O".
std::string buttons(const UpdateWindow& w) {
    std::string s;
    s += button(w, "Command1")->isHidden() ? '-' : 'Y';
    s += button(w, "Command2")->isHidden() ? '-' : 'C';
    s += button(w, "Command3")->isHidden() ? '-' : 'O';
    return s;
}

// The version file and download page as a server publishes them.
updatecheck::UpdateAddresses on(const QUrl& server) {
    return {QUrl(server.toString() + "/parvello/parvellover.txt"),
            QUrl(server.toString() + "/parvello/")};
}

// Where the window tells what it has to say.
FakePrompt prompt;

// Opens the window against the server and waits for its answer.
std::unique_ptr<UpdateWindow> check(const QUrl& server, std::chrono::milliseconds timeout = 10s) {
    auto w = std::make_unique<UpdateWindow>(prompt, nullptr, on(server), timeout);
    w->show();
    if (!w->isCheckDone()) {
        QSignalSpy spy(w.get(), &UpdateWindow::checkFinished);
        spy.wait(20000);
    }
    EXPECT_TRUE(w->isCheckDone());
    return w;
}

// The layout every failure must end in: up to date, only "Cl&ose", the
// running version shown, and a reason that is neither the searching text nor
// a verdict on versions.
void expectFailureLayout(const UpdateWindow& w) {
    EXPECT_EQ(buttons(w), "--O");
    EXPECT_EQ(text(w, "currentversion"), "3.00");
    const QString reason = text(w, "Label1");
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_NE(reason, kSearching);
    EXPECT_NE(reason, kNew);
    EXPECT_NE(reason, kUpToDate);
    expectLabel1Fits(w);
}

} // namespace

TEST(UpdateWindow, LayoutAndTextsBeforeTheAnswer) {
    VersionServer server;
    server.setMode(VersionServer::Mode::Silent);
    UpdateWindow w(prompt, nullptr, on(server.baseUrl()));
    w.show();
    EXPECT_EQ(w.windowTitle(), "Parvello Update");
    EXPECT_EQ(text(w, "Label1"), kSearching);
    expectLabel1Fits(w);
    EXPECT_EQ(text(w, "Label2"), "Current  Version :");
    EXPECT_EQ(text(w, "Label3"), "Newest  Version :");
    EXPECT_EQ(text(w, "newestversion"), "");
    EXPECT_EQ(button(w, "Command1")->text(), "&Yes");
    EXPECT_EQ(button(w, "Command2")->text(), "&Cancel");
    EXPECT_EQ(button(w, "Command3")->text(), "Cl&ose");
    EXPECT_FALSE(w.isCheckDone());

    // Client area 3690 x 1995 twips at 15 twips a pixel (96 dpi offscreen).
    EXPECT_EQ(w.size(), QSize(246, 133));
    // Buttons: Yes at 240, Close at 1080, Cancel at 1920 twips, plus the
    // frame's 120; all at 1440 down, 1455 x 375.
    const auto at = [&](const char* name) {
        QPushButton* b = button(w, name);
        return QRect(b->mapTo(&w, QPoint(0, 0)), b->size());
    };
    EXPECT_EQ(at("Command1"), QRect(24, 96, 97, 25));
    EXPECT_EQ(at("Command3"), QRect(80, 96, 97, 25));
    EXPECT_EQ(at("Command2"), QRect(136, 96, 97, 25));

    // Closing while the server still thinks stops the check quietly.
    QSignalSpy finished(&w, &UpdateWindow::checkFinished);
    button(w, "Command3")->click();
    EXPECT_FALSE(w.isVisible());
    QTest::qWait(200);
    EXPECT_EQ(finished.count(), 0);
}

TEST(UpdateWindow, AsksForTheVersionFileByGet) {
    VersionServer server;
    server.answer(200, "3.00");
    auto w = check(server.baseUrl());
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_EQ(server.requests().first(), "GET /parvello/parvellover.txt HTTP/1.1");
}

TEST(UpdateWindow, PublishedSameVersionIsUpToDate) {
    VersionServer server;
    server.answer(200, "3.00");
    auto w = check(server.baseUrl());
    EXPECT_EQ(text(*w, "Label1"), kUpToDate);
    EXPECT_EQ(buttons(*w), "--O");
    EXPECT_EQ(text(*w, "currentversion"), "3.00");
    EXPECT_EQ(text(*w, "newestversion"), "3.00");
}

TEST(UpdateWindow, ComparisonIsPartByPart) {
    const struct {
        const char* published;
        bool isNew;
    } cases[] = {{"3.10", true}, {"3.01", true}, {"4", true}, {"2.99", false}, {"3.0", false}};
    for (const auto& c : cases) {
        VersionServer server;
        server.answer(200, c.published);
        auto w = check(server.baseUrl());
        EXPECT_EQ(text(*w, "Label1"), c.isNew ? kNew : kUpToDate) << c.published;
        expectLabel1Fits(*w);
        EXPECT_EQ(buttons(*w), c.isNew ? "YC-" : "--O") << c.published;
        EXPECT_EQ(text(*w, "newestversion"), QString::fromLatin1(c.published).trimmed());
    }
}

// The build's settings are what the program uses; the download page is a page, not a
// Windows installer.
TEST(UpdateWindow, AddressesComeFromTheBuild) {
    const updatecheck::UpdateAddresses built = updatecheck::builtInAddresses();
    EXPECT_EQ(built.versionFile, QUrl(QStringLiteral(CONFIGURED_VERSION_URL)));
    EXPECT_EQ(built.downloadPage, QUrl(QStringLiteral(CONFIGURED_DOWNLOAD_URL)));
    EXPECT_TRUE(built.versionFile.isValid());
    EXPECT_FALSE(built.downloadPage.path().endsWith(".exe", Qt::CaseInsensitive));
}

TEST(UpdateWindow, YesOpensTheDownloadPageAndCloses) {
    UrlCatcher browser;
    VersionServer server;
    server.answer(200, "4.00");
    auto w = check(server.baseUrl());
    ASSERT_EQ(buttons(*w), "YC-");
    button(*w, "Command1")->click();
    ASSERT_EQ(browser.opened.size(), 1);
    EXPECT_EQ(browser.opened.first(), on(server.baseUrl()).downloadPage);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->result(), QDialog::Accepted);
}

TEST(UpdateWindow, WithoutABrowserYesSaysWhereToGo) {
    VersionServer server;
    server.answer(200, "4.00");
    auto w = check(server.baseUrl());
    prompt.told.clear();
    button(*w, "Command1")->click();
    const QUrl page = on(server.baseUrl()).downloadPage;
    EXPECT_EQ(prompt.told, QStringList{"Open " + page.toString() + " in your browser"});
    EXPECT_FALSE(w->isVisible());
}

TEST(UpdateWindow, CancelAndCloseOnlyClose) {
    UrlCatcher browser;
    VersionServer server;
    server.answer(200, "4.00");
    auto w = check(server.baseUrl());
    button(*w, "Command2")->click();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->result(), QDialog::Rejected);

    server.answer(200, "3.00");
    w = check(server.baseUrl());
    button(*w, "Command3")->click();
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(browser.opened.isEmpty());
}

TEST(UpdateWindow, NoServer) {
    // The .invalid domain never resolves.
    auto w = check(QUrl("http://parvello-update.invalid"), 3s);
    expectFailureLayout(*w);
    EXPECT_EQ(text(*w, "newestversion"), "");
}

TEST(UpdateWindow, ConnectionRefused) {
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 port = probe.serverPort();
    probe.close();
    auto w = check(QUrl(QStringLiteral("http://127.0.0.1:%1").arg(port)));
    expectFailureLayout(*w);
    EXPECT_EQ(text(*w, "Label1"), "Update server not reachable.");
}

TEST(UpdateWindow, ServerErrors) {
    VersionServer server;
    server.answer(404, "<html>not here</html>");
    auto w = check(server.baseUrl());
    expectFailureLayout(*w);
    EXPECT_EQ(text(*w, "Label1"), "No version file on the server.");
    EXPECT_EQ(text(*w, "newestversion"), "");

    // An error page whose body looks like a version is still an error.
    server.answer(500, "9.00");
    w = check(server.baseUrl());
    expectFailureLayout(*w);
    EXPECT_EQ(text(*w, "Label1"), "Update server error (HTTP 500).");

    server.setMode(VersionServer::Mode::HangUp);
    w = check(server.baseUrl());
    expectFailureLayout(*w);
}

TEST(UpdateWindow, SlowServerGivesUp) {
    EXPECT_LE(updatecheck::kFetchTimeout, 10s);
    VersionServer server;
    server.setMode(VersionServer::Mode::Silent);
    QElapsedTimer clock;
    clock.start();
    auto w = check(server.baseUrl(), 1500ms);
    expectFailureLayout(*w);
    EXPECT_EQ(text(*w, "Label1"), "Update server did not answer.");
    EXPECT_GE(clock.elapsed(), 1400);
    EXPECT_LT(clock.elapsed(), 5000);
}

TEST(UpdateWindow, TricklingServerGivesUpOnTime) {
    // Bytes keep coming, so an idle time-out alone would never fire.
    VersionServer server;
    server.setMode(VersionServer::Mode::Trickle);
    QElapsedTimer clock;
    clock.start();
    auto w = check(server.baseUrl(), 1500ms);
    expectFailureLayout(*w);
    EXPECT_LT(clock.elapsed(), 5000);
}

TEST(UpdateWindow, BodiesThatAreNoVersion) {
    const struct {
        QByteArray body;
        const char* reason;
    } cases[] = {
        {"", "Published version is not a number."},
        {"three", "Published version is not a number."},
        {"<html><body>Parked domain</body></html>", "Published version is not a number."},
        {QByteArray("\x00\x01\xff\xfe\x89PNG\r\n\x1a\n", 12), "Published version is not a number."},
        {"-4.00", "Published version is not a number."},
        {QByteArray(257, '9'), "Version file is not valid."},
    };
    for (const auto& c : cases) {
        VersionServer server;
        server.answer(200, c.body);
        auto w = check(server.baseUrl());
        expectFailureLayout(*w);
        EXPECT_EQ(text(*w, "Label1"), c.reason) << c.body.toHex().toStdString();
        EXPECT_EQ(text(*w, "newestversion"), "");
    }
}

TEST(UpdateWindow, HugeBodyIsNotReadWhole) {
    VersionServer server;
    server.setMode(VersionServer::Mode::Huge);
    const qint64 huge = 64 * 1024 * 1024;
    server.setHugeSize(huge);
    QElapsedTimer clock;
    clock.start();
    auto w = check(server.baseUrl());
    expectFailureLayout(*w);
    EXPECT_EQ(text(*w, "Label1"), "Version file is not valid.");
    EXPECT_LT(clock.elapsed(), 5000);
    // The connection was dropped long before the body was through.
    QTest::qWait(100);
    EXPECT_LT(server.bodyBytesWritten(), huge / 4);
}

#include "update_test.moc"
