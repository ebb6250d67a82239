// The alert popup as a user meets it: over the main window, answered with
// the mouse, the keyboard or the window manager, while other windows are open.
#include "acquire/scantab.h"
#include "app/app_fixture.h"
#include "app/preview_image.h"
#include "desktop/desktop.h"
#include "notify/frmmsnpopup.h"
#include "print/frmPrintSingle.h"
#include "services/cups_server.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QToolBar>

using desktop::User;
using notify::frmmsnpopup;

namespace {

const QString PrinterReady = "Please make sure your printer is on and full of paper.";

class Popup : public AppFixture {
  protected:
    frmmsnpopup* popup = nullptr; // the main window's, once it is open

    // Risen all the way, on screen, showing `message`.
    bool risenWith(const QString& message) const {
        return popup->isVisible() && !popup->tmrOpen.isActive() &&
               popup->lblAlert->text() == message;
    }
    bool waitForMessage(User& user, const QString& message) {
        return user.waitUntil([&] { return risenWith(message); }) && user.isShownOnScreen(popup);
    }
    bool waitUntilGone(User& user) {
        return user.waitUntil([&] { return !popup->isLoaded(); });
    }
    // The main window, up on the screen.
    std::unique_ptr<frmcovercreator> openShown() {
        auto main = open();
        popup = &main->popup();
        main->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(main.get(), 15000));
        return main;
    }
    QWidget* toolbarButton(frmcovercreator& main, int button) {
        return main.Toolbar1()->widgetForAction(main.toolbarButton(button));
    }
};

TEST_F(Popup, OkClickedOnScreenClosesItAndGivesTheMainWindowBack) {
    auto main = openShown();
    desktop::asUser([&](User& user) {
        user.click(toolbarButton(*main, 8)); // Tonwerk with no picture selected
        ASSERT_TRUE(
            waitForMessage(user, "Please select a picture by clicking on it and try again!"));
        EXPECT_FALSE(user.onGui([&] { return main->isEnabled(); }));

        user.click(popup->Command1);
        ASSERT_TRUE(waitUntilGone(user));
        EXPECT_FALSE(user.isShownOnScreen(popup));
        EXPECT_TRUE(user.onGui([&] { return main->isEnabled(); }));
    });
}

TEST_F(Popup, IsUsableWhileTonwerkIsOpen) {
    auto main = openShown();
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::red);
    main->pictures().set(0, picture);
    main->Image_Click(1);
    desktop::asUser([&](User& user) {
        user.click(toolbarButton(*main, 8));
        const auto tonwerk = user.findWindow("Tonwerk");
        ASSERT_TRUE(tonwerk);
        // The editor's own failure message, raised while it is open.
        user.onGui([&] { popup->tell("Not enough memory to change this picture."); });
        ASSERT_TRUE(waitForMessage(user, "Not enough memory to change this picture."));
        user.click(popup->Command1);
        EXPECT_TRUE(waitUntilGone(user));
        EXPECT_TRUE(user.findWindow("Tonwerk", 0));
        user.closeByWindowManager(tonwerk->id);
        EXPECT_TRUE(user.waitUntil([] { return !QApplication::activeModalWidget(); }));
    });
}

// Long messages keep the usual type and are on the screen whole; Return
// gives the answer that has the focus, "Print" or "Ok".
TEST_F(Popup, LongMessagesAreShownWholeAndReturnAnswers) {
    auto main = openShown();
    const QString question =
        "The 8x10 print is 3 mm wider than this printer can print on A4: its right edge will be "
        "cut.\n1 8x10 print will look soft: its picture is 320 × 240 pixels.\n" +
        PrinterReady;
    const QString saved = "No printer found. Saved as PDF in Documents/Parvello Prints.";
    auto wholeOnScreen = [&] {
        const QLabel* label = popup->lblAlert;
        const QRect shown(label->mapToGlobal(QPoint(0, 0)), label->size());
        return label->heightForWidth(label->width()) <= label->height() &&
               label->visibleRegion() == QRegion(label->rect()) &&
               label->screen()->geometry().contains(shown) &&
               label->font().pointSizeF() == popup->font().pointSizeF();
    };
    std::optional<bool> answer;
    desktop::asUser([&](User& user) {
        user.onGui([&] { popup->askPrint(question, [&](bool yes) { answer = yes; }); });
        ASSERT_TRUE(waitForMessage(user, question));
        EXPECT_TRUE(user.onGui(wholeOnScreen)) << "the print question";
        user.pressKeys("Return");
        ASSERT_TRUE(user.waitUntil([&] { return answer.has_value(); }));
        EXPECT_EQ(user.onGui([&] { return answer; }), true);

        user.onGui([&] { popup->tell(saved); });
        ASSERT_TRUE(waitForMessage(user, saved));
        EXPECT_TRUE(user.onGui(wholeOnScreen)) << "the PDF message";
        user.pressKeys("Return");
        EXPECT_TRUE(waitUntilGone(user));
    });
}

class SaveQuestion : public Popup {
  protected:
    QImage picture = [] {
        QImage p(40, 30, QImage::Format_RGB32);
        p.fill(Qt::blue);
        return p;
    }();
    QString target;

    void SetUp() override {
        target = dir.filePath("old.PNG");
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("the old picture");
    }
    // "Save" on the scan tab with `target` chosen in the file dialog.
    void save(User& user, QWidget* owner) {
        user.startOnGui([this, owner] {
            acquire::saveScan(*popup, owner, picture, [this](QWidget*) { return target; });
        });
    }
    QByteArray targetBytes() const {
        QFile f(target);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(SaveQuestion, ClosedMeansNoAndYesShowsTheResult) {
    auto main = openShown();
    const QString question = " This picture already exists. Overwrite old picture with new one?";
    desktop::asUser([&](User& user) {
        save(user, main.get());
        ASSERT_TRUE(waitForMessage(user, question));
        user.closeByWindowManager(popup);
        ASSERT_TRUE(waitUntilGone(user));

        save(user, main.get());
        ASSERT_TRUE(waitForMessage(user, question));
        user.pressKeys("Escape");
        if (!waitUntilGone(user)) {
            ADD_FAILURE() << "Escape left the question up";
            user.click(popup->Command5);
            ASSERT_TRUE(waitUntilGone(user));
        }
        QThread::msleep(300);
        EXPECT_FALSE(user.onGui([&] { return popup->isLoaded(); })) << "nothing more to say";
        EXPECT_EQ(targetBytes(), "the old picture");

        save(user, main.get());
        ASSERT_TRUE(waitForMessage(user, question));
        user.click(popup->Command4);
        EXPECT_TRUE(waitForMessage(user, "Sucessfully saved file."));
        EXPECT_EQ(QImage(target).pixelColor(0, 0), QColor(Qt::blue));
    });
}

// A private CUPS scheduler whose default queue writes every job to a folder.
class PrintQuestion : public Popup {
  protected:
    testsvc::CupsServer cups;
    testsvc::FolderPrinter printer;

    void SetUp() override {
        QString error;
        ASSERT_TRUE(cups.start(&error)) << error.toStdString();
        ASSERT_TRUE(cups.addPrinter(printer, true, &error)) << error.toStdString();
    }
    // The print question: the printer and its paper (its default Letter, its
    // one quality), then the reminder.
    QString question() const { return printer.name + ": Letter, normal quality\n" + PrinterReady; }
    // Jobs that reached the printer, once a job sent now would have landed.
    qsizetype settledJobs() {
        QThread::msleep(1500);
        return cups.jobFiles(printer.name).size();
    }
    void pressPrint(User& user, frmcovercreator& main) {
        // "Print" is greyed while the sheets of the last press are printing.
        ASSERT_TRUE(
            user.waitUntil([&] { return main.isEnabled() && main.cmdPrint()->isEnabled(); }));
        user.click(main.cmdPrint());
        ASSERT_TRUE(waitForMessage(user, question()));
    }
};

TEST_F(PrintQuestion, ClosedWithoutAnAnswerPrintsNothing) {
    auto main = openShown();
    QImage picture(1200, 1500, QImage::Format_RGB32);
    picture.fill(Qt::green);
    main->pictures().set(print::kPackages[0].cells[0].picture, picture);
    main->check(0)->setChecked(true);
    desktop::asUser([&](User& user) {
        // An earlier "Print" must not answer the questions after it.
        pressPrint(user, *main);
        user.click(popup->Command2);
        ASSERT_TRUE(cups.waitForJobs(printer.name, 1));

        pressPrint(user, *main);
        user.closeByWindowManager(popup);
        ASSERT_TRUE(waitUntilGone(user));
        EXPECT_EQ(settledJobs(), 1) << "closed by the window manager";

        pressPrint(user, *main);
        user.pressKeys("Escape");
        if (!waitUntilGone(user)) {
            ADD_FAILURE() << "Escape left the question up";
            user.click(popup->Command3);
            ASSERT_TRUE(waitUntilGone(user));
        }
        EXPECT_EQ(settledJobs(), 1) << "Escape";

        pressPrint(user, *main);
        user.closeByWindowManager(main.get());
        EXPECT_TRUE(user.waitUntil([&] { return !main->isVisible() && !popup->isVisible(); }));
        EXPECT_EQ(settledJobs(), 1) << "main window closed";
    });
}

TEST_F(PrintQuestion, PrintPressedAgainUnderAMessageAsksAgain) {
    QString error;
    ASSERT_TRUE(cups.setAccepting(printer.name, false, &error)) << error.toStdString();
    auto main = openShown();
    // Large enough for a sharp 8x10, so the question is the plain one.
    QImage picture(1200, 1500, QImage::Format_RGB32);
    picture.fill(Qt::green);
    auto* single = new print::frmPrintSingle(*popup, picture, main.get(), main.get());
    single->show();
    desktop::asUser([&](User& user) {
        ASSERT_TRUE(user.findWindow("Print Single Picture"));
        user.click(single->Command1);
        ASSERT_TRUE(waitForMessage(user, question()));
        user.click(popup->Command2);
        ASSERT_TRUE(waitForMessage(
            user, QStringLiteral("Unable to print! The printing system says: Destination \"%1\" "
                                 "is not accepting jobs. Enable the printer %1 in your system's "
                                 "printer settings (or `cupsaccept %1`), then print again.")
                      .arg(printer.name)));

        user.click(single->Command1); // the dialog stays usable under the message
        user.click(popup->Command1);
        EXPECT_TRUE(waitForMessage(user, question()));
        EXPECT_TRUE(user.onGui([&] { return popup->Command3->isVisible(); }));
        user.click(popup->Command3);
        EXPECT_TRUE(waitUntilGone(user));
        QThread::msleep(500);
        EXPECT_FALSE(user.onGui([&] { return popup->isLoaded(); })) << "printed on an old answer";
    });
}

} // namespace
