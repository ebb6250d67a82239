// The alert popup driven through its three calling protocols, with clicks
// on its real buttons; questions answer later, through the function given.
#include "common/units.h"
#include "notify/frmmsnpopup.h"
#include "support/popup_answers.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

using notify::frmmsnpopup;
using testpopup::clickWhenRisen;
using testpopup::clickWhenUp;

namespace {

class Popup : public ::testing::Test {
  protected:
    void SetUp() override { main.show(); }
    void TearDown() override { testpopup::dismiss(popup); }
    bool waitUnloaded() { return testpopup::waitGone(popup); }
    void waitOpen() {
        QElapsedTimer t;
        t.start();
        while (popup.tmrOpen.isActive() && t.elapsed() < 5000)
            QTest::qWait(10);
    }
    // The answers a question gets, shared with the popup, which may answer
    // after a failed test has gone on.
    using Answer = std::shared_ptr<std::optional<bool>>;
    Answer askPrint(const QString& message) {
        auto answer = std::make_shared<std::optional<bool>>();
        popup.askPrint(message, [answer](bool yes) { *answer = yes; });
        return answer;
    }
    Answer askYesNo(const QString& message) {
        auto answer = std::make_shared<std::optional<bool>>();
        popup.askYesNo(message, [answer](bool yes) { *answer = yes; });
        return answer;
    }
    // Runs events until the question has been answered.
    static std::optional<bool> wait(const Answer& answer) {
        (void)QTest::qWaitFor([&] { return answer->has_value(); }, 10000);
        return *answer;
    }
    QWidget main;
    frmmsnpopup popup{&main};
};

// The buttons the popup showed last (they keep their state once it has gone).
struct Buttons {
    bool ok, print, cancel, yes, no;
    bool operator==(const Buttons&) const = default;
};

Buttons shownButtons(const frmmsnpopup& popup) {
    auto shown = [&](const QPushButton* b) { return b->isVisibleTo(&popup); };
    return {shown(popup.Command1), shown(popup.Command2), shown(popup.Command3),
            shown(popup.Command4), shown(popup.Command5)};
}

} // namespace

TEST_F(Popup, EachKindShowsItsButtons) {
    popup.tell("Which buttons?");
    ASSERT_TRUE(popup.isLoaded());
    EXPECT_EQ(popup.lblAlert->text(), "Which buttons?");
    EXPECT_TRUE(shownButtons(popup) == (Buttons{true, false, false, false, false}));
    popup.close();
    ASSERT_TRUE(waitUnloaded());

    clickWhenUp(popup, &frmmsnpopup::Command3);
    wait(askPrint("Print?"));
    EXPECT_TRUE(shownButtons(popup) == (Buttons{false, true, true, false, false}));

    clickWhenUp(popup, &frmmsnpopup::Command5);
    wait(askYesNo("Overwrite?"));
    EXPECT_TRUE(shownButtons(popup) == (Buttons{false, false, false, true, true}));
}

TEST_F(Popup, InformationDoesNotWaitAndDisablesTheMainWindow) {
    QElapsedTimer t;
    t.start();
    popup.tell("Sucessfully saved file.");
    EXPECT_LT(t.elapsed(), 1000);
    EXPECT_TRUE(popup.isLoaded());
    EXPECT_FALSE(main.isEnabled());
    EXPECT_TRUE(testpopup::tellsOnly(popup));
    EXPECT_EQ(popup.lblAlert->text(), "Sucessfully saved file.");
    EXPECT_TRUE(popup.isVisible());
    EXPECT_TRUE(popup.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(popup.windowFlags() & Qt::WindowStaysOnTopHint);
    waitOpen();
    QTest::mouseClick(popup.Command1, Qt::LeftButton);
    ASSERT_TRUE(waitUnloaded());
    EXPECT_TRUE(main.isEnabled());
    EXPECT_FALSE(popup.isVisible());
}

TEST_F(Popup, RisesFromTheBottomEdgeAndSinksBack) {
    popup.tell("Rising");
    // A 90-twip sliver 300 twips below the usable client height.
    EXPECT_DOUBLE_EQ(popup.heightTwips(), 90);
    const double bottom = popup.topTwips() + popup.heightTwips();
    const double tpp = units::twipsPerScreenPixel();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_NEAR(popup.geometry().center().x(), screen.center().x(), 2);
    EXPECT_NEAR(popup.width() * tpp, 2055, tpp);
    waitOpen();
    // Fully open, the bottom edge has not moved.
    EXPECT_DOUBLE_EQ(popup.heightTwips(), 1455);
    EXPECT_DOUBLE_EQ(popup.topTwips() + popup.heightTwips(), bottom);
    EXPECT_NEAR(popup.height() * units::twipsPerScreenPixel(), 1455, tpp);
    QTest::mouseClick(popup.Command1, Qt::LeftButton);
    QTest::qWait(60);
    EXPECT_LT(popup.heightTwips(), 1455);
    EXPECT_DOUBLE_EQ(popup.topTwips() + popup.heightTwips(), bottom);
    ASSERT_TRUE(waitUnloaded());
}

TEST_F(Popup, KeepsItsPaintedBackground) {
    popup.tell("Gradient");
    const QImage& bg = popup.background();
    ASSERT_FALSE(bg.isNull());
    EXPECT_EQ(bg.size(), popup.picBackground->size());
    // Blue at the top, white-ish at the bottom.
    EXPECT_LT(qRed(bg.pixel(bg.width() - 1, 0)), 90);
    EXPECT_EQ(qBlue(bg.pixel(bg.width() - 1, 0)), 255);
    EXPECT_GT(qRed(bg.pixel(0, bg.height() - 1)), 220);
    // What the panel shows is that image.
    waitOpen();
    const QImage shown = popup.picBackground->grab().toImage();
    EXPECT_EQ(shown.pixel(2, 2), bg.pixel(2, 2));
    QTest::mouseClick(popup.Command1, Qt::LeftButton);
    ASSERT_TRUE(waitUnloaded());
}

// The question returns at once; the answer comes once the sinking popup
// has unloaded: rising and sinking 30 twips every 10 ms take some 450 ms
// each.
TEST_F(Popup, PrintQuestionIsAnsweredOnceThePopupHasClosed) {
    QElapsedTimer t;
    t.start();
    const Answer answer = askPrint("Please make sure your printer is on and full of paper.");
    EXPECT_LT(t.elapsed(), 500);
    EXPECT_TRUE(popup.isLoaded());
    clickWhenRisen(popup, &frmmsnpopup::Command2);
    EXPECT_EQ(wait(answer), true);
    EXPECT_FALSE(popup.isLoaded());
    EXPECT_GT(t.elapsed(), 800);
    EXPECT_TRUE(main.isEnabled());

    clickWhenUp(popup, &frmmsnpopup::Command3, 100);
    EXPECT_EQ(wait(askPrint("Again?")), false);
}

TEST_F(Popup, LastClickWinsWhileClosing) {
    QTimer::singleShot(100, [this] {
        QTest::mouseClick(popup.Command2, Qt::LeftButton);
        QTest::mouseClick(popup.Command3, Qt::LeftButton);
    });
    EXPECT_EQ(wait(askPrint("Print?")), false);
}

TEST_F(Popup, ClosedWithoutAClickIsNo) {
    const Answer answer = askPrint("Print?");
    popup.close();
    EXPECT_EQ(wait(answer), false);
}

// The answer comes once the question has gone, so the message the caller
// gives then is the one displayed.
TEST_F(Popup, SaveQuestionIsAnsweredOnceThePopupHasGone) {
    clickWhenUp(popup, &frmmsnpopup::Command4, 100);
    EXPECT_EQ(wait(askYesNo(" This picture already exists. Overwrite old picture with new one?")),
              true);
    EXPECT_FALSE(popup.isLoaded());
    popup.tell("Sucessfully saved file.");
    EXPECT_EQ(popup.lblAlert->text(), "Sucessfully saved file.");
    EXPECT_TRUE(popup.Command1->isVisible());
    QTest::mouseClick(popup.Command1, Qt::LeftButton);
    ASSERT_TRUE(waitUnloaded());

    clickWhenUp(popup, &frmmsnpopup::Command5, 100);
    EXPECT_EQ(wait(askYesNo("Overwrite?")), false);
}

// A question asked while another popup is up waits for it to go, then asks;
// an earlier answer never stands in for the user's.
TEST_F(Popup, QuestionBehindAnotherPopupIsAskedOnceThatHasGone) {
    // An earlier "Print" is the answer left over.
    clickWhenUp(popup, &frmmsnpopup::Command2);
    ASSERT_EQ(wait(askPrint("Earlier")), true);
    popup.tell("Please select a picture by clicking on it and try again!");
    clickWhenUp(popup, &frmmsnpopup::Command1, 200);
    clickWhenRisen(popup, &frmmsnpopup::Command3, "Print?");
    const Answer print = askPrint("Print?");
    EXPECT_EQ(popup.lblAlert->text(), "Please select a picture by clicking on it and try again!");
    EXPECT_EQ(wait(print), false);
    EXPECT_EQ(popup.lblAlert->text(), "Print?");

    popup.tell("Unable to aquire image!");
    clickWhenUp(popup, &frmmsnpopup::Command1, 200);
    clickWhenRisen(popup, &frmmsnpopup::Command4, "Overwrite?");
    EXPECT_EQ(wait(askYesNo("Overwrite?")), true);
    EXPECT_EQ(popup.lblAlert->text(), "Overwrite?");
}

TEST_F(Popup, ClickDuringOpeningClosesInBoundedTime) {
    QTimer::singleShot(30, [this] {
        EXPECT_TRUE(popup.tmrOpen.isActive());
        QTest::mouseClick(popup.Command2, Qt::LeftButton);
    });
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(wait(askPrint("Quick")), true);
    EXPECT_LT(t.elapsed(), 3000);
    EXPECT_FALSE(popup.isLoaded());
}

// A second print question, asked while the first is up, is shown once the
// first has gone.
TEST_F(Popup, SecondPrintQuestionIsAskedInTurn) {
    clickWhenRisen(popup, &frmmsnpopup::Command2, "first");
    clickWhenRisen(popup, &frmmsnpopup::Command3, "second");
    const Answer first = askPrint("first");
    const Answer second = askPrint("second");
    EXPECT_EQ(wait(first), true);
    EXPECT_EQ(wait(second), false);
    ASSERT_TRUE(waitUnloaded());
    EXPECT_TRUE(main.isEnabled());
}

TEST_F(Popup, ReloadShowsTheNewRequest) {
    popup.tell("one");
    QTest::mouseClick(popup.Command1, Qt::LeftButton);
    ASSERT_TRUE(waitUnloaded());
    clickWhenUp(popup, &frmmsnpopup::Command5, 50);
    wait(askYesNo("two"));
    EXPECT_EQ(popup.lblAlert->text(), "two");
    EXPECT_EQ(popup.background().isNull(), false);
}

// The message keeps the usual type: the popup grows wider, then taller, to
// show all of it, and only a message taller than the screen scrolls.
TEST_F(Popup, GrowsToFitItsMessage) {
    const QRect usable = QGuiApplication::primaryScreen()->availableGeometry();
    const double tpp = units::twipsPerScreenPixel();
    auto fullyShown = [&] {
        const QLabel* label = popup.lblAlert;
        return label->heightForWidth(label->width()) <= label->height() &&
               label->font().pointSizeF() == popup.font().pointSizeF();
    };

    popup.tell("No printer found. Saved as PDF in Documents/Parvello Prints, one file for "
               "every sheet, named after the package and the time.");
    waitOpen();
    EXPECT_TRUE(fullyShown());
    EXPECT_FALSE(popup.messageArea->verticalScrollBar()->isVisible());
    EXPECT_GT(popup.width() * tpp, 2055 + tpp);
    EXPECT_TRUE(usable.contains(popup.lblAlert->mapToGlobal(popup.lblAlert->rect().center())));
    QTest::mouseClick(popup.Command1, Qt::LeftButton);
    ASSERT_TRUE(waitUnloaded());

    popup.tell(QStringList(200, "One line of a very long message.").join('\n'));
    waitOpen();
    EXPECT_TRUE(fullyShown());
    EXPECT_TRUE(popup.messageArea->verticalScrollBar()->isVisible());
    EXPECT_LE(popup.height(), usable.height());
    EXPECT_GE(popup.geometry().top(), usable.top());
    QTest::mouseClick(popup.Command1, Qt::LeftButton);
    ASSERT_TRUE(waitUnloaded());

    // A short message after a long one gets the form's own size again.
    popup.tell("Sucessfully saved file.");
    EXPECT_NEAR(popup.width() * tpp, 2055, tpp);
    QTest::mouseClick(popup.Command1, Qt::LeftButton);
    ASSERT_TRUE(waitUnloaded());
}

// A window of the main window's that stays usable while that window is held.
TEST_F(Popup, BelongsToTheMainWindowAndStaysUsableWhileItIsHeld) {
    popup.tell("Above");
    EXPECT_EQ(popup.parentWidget(), &main);
    EXPECT_TRUE(popup.isWindow());
    EXPECT_FALSE(main.isEnabled());
    EXPECT_TRUE(popup.isEnabled()) << "disabled with the main window";
    QTest::mouseClick(popup.Command1, Qt::LeftButton);
    ASSERT_TRUE(waitUnloaded());
}
