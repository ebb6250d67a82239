// The alert popup driven through its three calling protocols, with clicks
// on its real buttons while a caller waits in its event loop.
#include "notify/alerts.h"
#include "notify/frmmsnpopup.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

using notify::alertState;
using notify::frmmsnpopup;

namespace {

frmmsnpopup& popup() {
    return frmmsnpopup::instance();
}

// Runs events until the popup has unloaded (or a generous bound has passed).
bool waitUnloaded(int ms = 5000) {
    QElapsedTimer t;
    t.start();
    while (notify::isPopupLoaded() && t.elapsed() < ms)
        QTest::qWait(10);
    return !notify::isPopupLoaded();
}

void waitOpen() {
    QElapsedTimer t;
    t.start();
    while (popup().tmrOpen.isActive() && t.elapsed() < 5000)
        QTest::qWait(10);
}

// Clicks `button` of the popup once the caller has started waiting.
void clickLater(int ms, QPushButton* frmmsnpopup::*button) {
    QTimer::singleShot(ms, [button] { QTest::mouseClick(popup().*button, Qt::LeftButton); });
}

// Clicks `button` once the popup has fully risen with `message`.
void answerWhenAsked(const QString& message, QPushButton* frmmsnpopup::*button) {
    QTimer::singleShot(20, [message, button] {
        if (notify::isPopupLoaded() && !popup().tmrOpen.isActive() &&
            popup().lblAlert->text() == message)
            QTest::mouseClick(popup().*button, Qt::LeftButton);
        else
            answerWhenAsked(message, button);
    });
}

// Clicks `button` once the popup has fully risen.
void clickWhenOpen(QPushButton* frmmsnpopup::*button) {
    QTimer::singleShot(20, [button] {
        if (notify::isPopupLoaded() && !popup().tmrOpen.isActive())
            QTest::mouseClick(popup().*button, Qt::LeftButton);
        else
            clickWhenOpen(button);
    });
}

class Popup : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(waitUnloaded());
        alertState() = notify::AlertState{};
        main.show();
        notify::setMainWindow(&main);
    }
    void TearDown() override {
        if (notify::isPopupLoaded()) {
            QTest::mouseClick(popup().Command1, Qt::LeftButton);
            popup().close();
        }
        waitUnloaded();
        notify::setMainWindow(nullptr);
    }
    QWidget main;
};

struct Buttons {
    bool ok, print, cancel, yes, no;
};

Buttons visibleButtons() {
    return {popup().Command1->isVisible(), popup().Command2->isVisible(),
            popup().Command3->isVisible(), popup().Command4->isVisible(),
            popup().Command5->isVisible()};
}

} // namespace

TEST_F(Popup, EachKindShowsItsButtons) {
    struct Case {
        const char* kind;
        Buttons expected;
    };
    const Case cases[] = {{"picture", {true, false, false, false, false}},
                          {"print", {false, true, true, false, false}},
                          {"save", {false, false, false, true, true}},
                          {"Picture", {true, true, true, true, true}},
                          {"", {true, true, true, true, true}}};
    for (const Case& c : cases) {
        alertState().AlertKind = c.kind;
        alertState().AlertMessage = "Which buttons?";
        notify::showPopup();
        ASSERT_TRUE(notify::isPopupLoaded());
        const Buttons b = visibleButtons();
        EXPECT_EQ(b.ok, c.expected.ok) << c.kind;
        EXPECT_EQ(b.print, c.expected.print) << c.kind;
        EXPECT_EQ(b.cancel, c.expected.cancel) << c.kind;
        EXPECT_EQ(b.yes, c.expected.yes) << c.kind;
        EXPECT_EQ(b.no, c.expected.no) << c.kind;
        EXPECT_EQ(popup().lblAlert->text(), "Which buttons?");
        EXPECT_EQ(alertState().AlertCount, 1);
        EXPECT_EQ(popup().AlertSlot, 1);
        popup().close();
        ASSERT_TRUE(waitUnloaded());
        EXPECT_EQ(alertState().AlertCount, 0);
    }
}

TEST_F(Popup, InformationDoesNotWaitAndDisablesTheMainWindow) {
    QElapsedTimer t;
    t.start();
    notify::tellUser("Sucessfully saved file.");
    EXPECT_LT(t.elapsed(), 1000);
    EXPECT_TRUE(notify::isPopupLoaded());
    EXPECT_FALSE(main.isEnabled());
    EXPECT_EQ(alertState().AlertKind, "picture");
    EXPECT_EQ(popup().lblAlert->text(), "Sucessfully saved file.");
    EXPECT_TRUE(popup().isVisible());
    EXPECT_TRUE(popup().windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(popup().windowFlags() & Qt::WindowStaysOnTopHint);
    waitOpen();
    QTest::mouseClick(popup().Command1, Qt::LeftButton);
    ASSERT_TRUE(waitUnloaded());
    EXPECT_TRUE(main.isEnabled());
    EXPECT_FALSE(popup().isVisible());
}

TEST_F(Popup, RisesFromTheBottomEdgeAndSinksBack) {
    notify::tellUser("Rising");
    // A 90-twip sliver 300 twips below the usable client height.
    EXPECT_DOUBLE_EQ(popup().heightTwips(), 90);
    const double bottom = popup().topTwips() + popup().heightTwips();
    const double tpp = frmmsnpopup::twipsPerPixelX();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_NEAR(popup().geometry().center().x(), screen.center().x(), 2);
    EXPECT_NEAR(popup().width() * tpp, 2055, tpp);
    waitOpen();
    // Fully open, the bottom edge has not moved.
    EXPECT_DOUBLE_EQ(popup().heightTwips(), 1455);
    EXPECT_DOUBLE_EQ(popup().topTwips() + popup().heightTwips(), bottom);
    EXPECT_NEAR(popup().height() * frmmsnpopup::twipsPerPixelY(), 1455, tpp);
    QTest::mouseClick(popup().Command1, Qt::LeftButton);
    QTest::qWait(60);
    EXPECT_LT(popup().heightTwips(), 1455);
    EXPECT_DOUBLE_EQ(popup().topTwips() + popup().heightTwips(), bottom);
    ASSERT_TRUE(waitUnloaded());
}

TEST_F(Popup, KeepsItsPaintedBackground) {
    notify::tellUser("Gradient");
    const QImage& bg = popup().background();
    ASSERT_FALSE(bg.isNull());
    EXPECT_EQ(bg.size(), popup().picBackground->size());
    // Blue at the top, white-ish at the bottom.
    EXPECT_LT(qRed(bg.pixel(bg.width() - 1, 0)), 90);
    EXPECT_EQ(qBlue(bg.pixel(bg.width() - 1, 0)), 255);
    EXPECT_GT(qRed(bg.pixel(0, bg.height() - 1)), 220);
    // What the panel shows is that image.
    waitOpen();
    const QImage shown = popup().picBackground->grab().toImage();
    EXPECT_EQ(shown.pixel(2, 2), bg.pixel(2, 2));
    QTest::mouseClick(popup().Command1, Qt::LeftButton);
    ASSERT_TRUE(waitUnloaded());
}

TEST_F(Popup, PrintQuestionWaitsUntilThePopupHasClosed) {
    clickWhenOpen(&frmmsnpopup::Command2);
    QElapsedTimer t;
    t.start();
    EXPECT_TRUE(notify::askPrint("Please make sure your printer is on and full of paper."));
    // The wait lasts until the sinking popup has unloaded: rising and
    // sinking 30 twips every 10 ms take some 450 ms each.
    EXPECT_FALSE(notify::isPopupLoaded());
    EXPECT_GT(t.elapsed(), 800);
    EXPECT_EQ(alertState().PrintAnswer, -1);
    EXPECT_EQ(alertState().AlertPending, 0);
    EXPECT_TRUE(main.isEnabled());

    clickLater(100, &frmmsnpopup::Command3);
    EXPECT_FALSE(notify::askPrint("Again?"));
    EXPECT_EQ(alertState().PrintAnswer, 0);
}

TEST_F(Popup, LastClickWinsWhileClosing) {
    QTimer::singleShot(100, [] {
        QTest::mouseClick(popup().Command2, Qt::LeftButton);
        QTest::mouseClick(popup().Command3, Qt::LeftButton);
    });
    EXPECT_FALSE(notify::askPrint("Print?"));
}

// The save caller goes on once the question has gone, so the message it
// gives next is the one displayed.
TEST_F(Popup, SaveQuestionReturnsOnceThePopupHasGone) {
    clickLater(100, &frmmsnpopup::Command4);
    EXPECT_TRUE(
        notify::askYesNo(" This picture already exists. Overwrite old picture with new one?"));
    EXPECT_FALSE(notify::isPopupLoaded());
    notify::tellUser("Sucessfully saved file.");
    EXPECT_EQ(popup().lblAlert->text(), "Sucessfully saved file.");
    EXPECT_TRUE(popup().Command1->isVisible());
    QTest::mouseClick(popup().Command1, Qt::LeftButton);
    ASSERT_TRUE(waitUnloaded());

    clickLater(100, &frmmsnpopup::Command5);
    EXPECT_FALSE(notify::askYesNo("Overwrite?"));
}

// A question asked while another popup is up waits for it to go, then asks;
// an earlier answer never stands in for the user's.
TEST_F(Popup, QuestionBehindAnotherPopupIsAskedOnceThatHasGone) {
    alertState().PrintAnswer = -1;
    notify::tellUser("Please select a picture by clicking on it and try again!");
    clickLater(200, &frmmsnpopup::Command1);
    answerWhenAsked("Print?", &frmmsnpopup::Command3);
    EXPECT_FALSE(notify::askPrint("Print?"));
    EXPECT_EQ(popup().lblAlert->text(), "Print?");

    notify::tellUser("Unable to aquire image!");
    clickLater(200, &frmmsnpopup::Command1);
    answerWhenAsked("Overwrite?", &frmmsnpopup::Command4);
    EXPECT_TRUE(notify::askYesNo("Overwrite?"));
    EXPECT_EQ(popup().lblAlert->text(), "Overwrite?");
}

TEST_F(Popup, ClickDuringOpeningClosesInBoundedTime) {
    QTimer::singleShot(30, [] {
        EXPECT_TRUE(popup().tmrOpen.isActive());
        QTest::mouseClick(popup().Command2, Qt::LeftButton);
    });
    QElapsedTimer t;
    t.start();
    EXPECT_TRUE(notify::askPrint("Quick"));
    EXPECT_LT(t.elapsed(), 3000);
    EXPECT_FALSE(notify::isPopupLoaded());
}

// A second print caller, started while the first one waits, gets a question
// of its own once the first has gone.
TEST_F(Popup, SecondPrintCallerIsAskedInTurn) {
    QStringList answered;
    QTimer::singleShot(50, [&] {
        if (notify::askPrint("second"))
            answered << popup().lblAlert->text();
    });
    answerWhenAsked("first", &frmmsnpopup::Command2);
    answerWhenAsked("second", &frmmsnpopup::Command2);
    if (notify::askPrint("first"))
        answered << "first";
    ASSERT_TRUE(QTest::qWaitFor([&] { return answered.size() == 2; }, 5000));
    answered.sort();
    EXPECT_EQ(answered, QStringList({"first", "second"}));
    ASSERT_TRUE(waitUnloaded());
    EXPECT_TRUE(main.isEnabled());
}

TEST_F(Popup, ReloadShowsTheNewRequest) {
    notify::tellUser("one");
    QTest::mouseClick(popup().Command1, Qt::LeftButton);
    ASSERT_TRUE(waitUnloaded());
    clickLater(50, &frmmsnpopup::Command5);
    notify::askYesNo("two");
    EXPECT_EQ(popup().lblAlert->text(), "two");
    EXPECT_EQ(popup().background().isNull(), false);
}

TEST_F(Popup, LongMessagesWrapInsideTheLabel) {
    notify::tellUser("A message that is far too long for one line of the small popup window, "
                     "so it has to wrap at word boundaries.");
    EXPECT_TRUE(popup().lblAlert->wordWrap());
    const double tpp = frmmsnpopup::twipsPerPixelX();
    EXPECT_NEAR(popup().lblAlert->width() * tpp, 1815, tpp);
    EXPECT_NEAR(popup().lblAlert->height() * tpp, 615, tpp);
    // Every line of it is inside the label.
    EXPECT_LE(popup().lblAlert->heightForWidth(popup().lblAlert->width()),
              popup().lblAlert->height());
    QTest::mouseClick(popup().Command1, Qt::LeftButton);
    ASSERT_TRUE(waitUnloaded());
}

TEST_F(Popup, AShortMessageAfterALongOneGetsTheUsualType) {
    const QFont usual = popup().picBackground->font();
    notify::tellUser("No printer found. Saved as PDF in Documents/Parvello Prints, one file for "
                     "every sheet, named after the package and the time.");
    EXPECT_LT(popup().lblAlert->font().pointSizeF(), usual.pointSizeF());
    QTest::mouseClick(popup().Command1, Qt::LeftButton);
    ASSERT_TRUE(waitUnloaded());
    notify::tellUser("Sucessfully saved file.");
    EXPECT_EQ(popup().lblAlert->font().pointSizeF(), usual.pointSizeF());
    QTest::mouseClick(popup().Command1, Qt::LeftButton);
    ASSERT_TRUE(waitUnloaded());
}
