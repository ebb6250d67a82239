// The "Tonwerk" window driven through its controls, offscreen: the menus and what each item
// runs, the lock while a filter runs on its worker, the window alive meanwhile, "Cancel" and
// closing during a run, undo, accept and cancel, the brightness step and its level, and the
// toolbar's turn and reflections.
#include "common/workers.h"
#include "editor/frmManipulate.h"
#include "imaging/filter_engine.h"
#include "imaging/random.h"
#include "notify/frmmsnpopup.h"
#include "random_picture.h"
#include "support/access_keys.h"
#include "support/popup_answers.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QThreadPool>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>
#include <random>

using editor::frmManipulate;

namespace {

QImage onePixel(int red, int green, int blue) {
    QImage p(1, 1, QImage::Format_RGB32);
    p.setPixel(0, 0, qRgb(red, green, blue));
    return p;
}

// The engine's own result for one code and parameter on a copy of the picture.
QImage engineResult(const QImage& picture, int code, std::int32_t parameter) {
    QImage copy = picture.copy();
    std::int32_t progress = 0;
    const imaging::FilterOutcome outcome =
        imaging::ApplyFilter(code, editor::viewOf(copy), parameter, progress);
    EXPECT_EQ(outcome.status, imaging::FilterOutcome::Status::Done);
    return copy;
}

QAction* toolbarButton(frmManipulate& f, int index) {
    return f.findChild<QToolBar*>("Toolbar1")->actions().at(index - 1);
}

QScrollBar* scrollBar(frmManipulate& f) {
    return f.findChild<QScrollBar*>("HScroll1");
}

QMenu* menu(frmManipulate& f, const char* control) {
    return f.findChild<QMenu*>(control);
}

void startMenuItem(frmManipulate& f, const char* control) {
    QAction* item = f.findChild<QAction*>(control);
    ASSERT_NE(item, nullptr) << control;
    item->trigger();
}

// Until the filter's worker has finished and the window has taken its result.
bool waitForCommand(frmManipulate& f) {
    return QTest::qWaitFor([&] { return !f.isRunning(); }, 30000);
}

void runMenuItem(frmManipulate& f, const char* control) {
    startMenuItem(f, control);
    ASSERT_TRUE(waitForCommand(f)) << control;
}

// A picture on which a filter takes a while (12 megapixels).
QImage largePicture() {
    QImage picture(4000, 3000, QImage::Format_RGB32);
    picture.fill(qRgb(90, 120, 150));
    return picture;
}

// What the editor says goes to this popup, as it goes to the main window's in the program.
notify::frmmsnpopup& popup() {
    static auto* popup = new notify::frmmsnpopup; // outlives the tests' application object
    return *popup;
}

// ---- menus ------------------------------------------------------------------------------

struct Item {
    const char* control;
    const char* caption; // nullptr: a separator
    int code;
    std::int32_t parameter;
};

constexpr std::int32_t colour(int red, int green, int blue) {
    return red | green << 8 | blue << 16;
}

const Item NormalItems[] = {
    {"blur", "&Blur", 3, 0},
    {"diffuse", "&Diffuse", 4, 6},
    {"sharpen", "S&harpen", 1, 2},
    {"smooth", "&Smooth", 5, 0},
};
const Item SpecialItems[] = {
    {"addnoise", "&Add Noise", 29, 50},
    {"contour", "&Contour", 7, colour(255, 255, 255)},
    {"dilate", "&Dilate", 25, 0},
    {"emboss", "&Emboss", 8, colour(0, 120, 120)},
    {"engrave", "E&ngrave", 10, colour(0, 120, 120)},
    {"edgedetect", "Ed&ge Detect", 27, 0},
    {"edgeenhance", "Edge En&hance", 6, 1},
    {"erode", "Er&ode", 26, 0},
    {"relief", "&Relief", 13, 0},
};
const Item ColorsItems[] = {
    {"blackandwhite", "&Black && White", 18, colour(180, 180, 180)},
    {"grayscale", "&Gray Scale", 12, 0},
    {"negative", "&Negative", 2, 0},
    {"blankie", nullptr, 0, 0},
    {"increasecontrast", "Contrast +", 17, 10},
    {"decreasecontrast", "Contrast -", 17, -10},
    {"blankerer", nullptr, 0, 0},
    {"increasesaturation", "Saturation +", 30, 15},
    {"decreasesaturation", "Saturation -", 30, -15},
};

struct Menu {
    const char* control;
    const char* caption;
    std::vector<Item> items;
};

const std::vector<Menu>& menus() {
    static const std::vector<Menu> m = {
        {"normal", "&Normal", {std::begin(NormalItems), std::end(NormalItems)}},
        {"Special", "&Special", {std::begin(SpecialItems), std::end(SpecialItems)}},
        {"colors", "&Colors", {std::begin(ColorsItems), std::end(ColorsItems)}},
    };
    return m;
}

TEST(EditorWindow, OpensAsTonwerkWithItsControls) {
    frmManipulate f(popup(), randomPicture(8, 6, 1));
    EXPECT_EQ(f.windowTitle(), "Tonwerk");
    EXPECT_TRUE(f.isModal());
    QToolBar* toolbar = f.findChild<QToolBar*>("Toolbar1");
    ASSERT_EQ(toolbar->actions().size(), 5);
    const char* tips[] = {"Rotate", "Mirror", "Flip", "Brightness", "Undo Last Change"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(toolbar->actions()[i]->toolTip(), tips[i]);
    EXPECT_EQ(scrollBar(f)->minimum(), -99);
    EXPECT_EQ(scrollBar(f)->maximum(), 99);
    EXPECT_EQ(scrollBar(f)->value(), 0);
    EXPECT_EQ(f.findChild<QPushButton*>("Command5")->text(), "&Accept");
    EXPECT_EQ(f.findChild<QPushButton*>("Command5")->toolTip(), "Accept Changes");
    EXPECT_EQ(f.findChild<QPushButton*>("Command2")->text(), "Cance&l");
    EXPECT_EQ(f.findChild<QPushButton*>("Command2")->toolTip(), "Cancel");
}

TEST(EditorWindow, MenusHoldEveryItemInOrder) {
    frmManipulate f(popup(), randomPicture(8, 6, 1));
    const QList<QAction*> bar = f.findChild<QMenuBar*>()->actions();
    ASSERT_EQ(bar.size(), 3);
    for (std::size_t m = 0; m < menus().size(); ++m) {
        const Menu& expected = menus()[m];
        EXPECT_EQ(bar[int(m)]->text(), expected.caption);
        QMenu* shown = menu(f, expected.control);
        ASSERT_NE(shown, nullptr) << expected.control;
        EXPECT_EQ(shown->menuAction(), bar[int(m)]);
        const QList<QAction*> items = shown->actions();
        ASSERT_EQ(std::size_t(items.size()), expected.items.size()) << expected.control;
        for (std::size_t i = 0; i < expected.items.size(); ++i) {
            EXPECT_EQ(items[int(i)]->objectName(), expected.items[i].control);
            if (expected.items[i].caption)
                EXPECT_EQ(items[int(i)]->text(), expected.items[i].caption);
            else
                EXPECT_TRUE(items[int(i)]->isSeparator()) << expected.items[i].control;
        }
    }
}

TEST(EditorWindow, AccessKeysAreUniquePerMenuAndWindow) {
    frmManipulate f(popup(), randomPicture(8, 6, 1));
    QStringList window;
    for (QAction* bar : f.findChild<QMenuBar*>()->actions()) {
        window << bar->text();
        QStringList items;
        for (QAction* item : bar->menu()->actions())
            items << item->text();
        EXPECT_EQ(testsupport::sharedAccessKeys(items), QStringList()) << bar->text().toStdString();
    }
    for (QPushButton* button : f.findChildren<QPushButton*>())
        window << button->text();
    EXPECT_EQ(testsupport::sharedAccessKeys(window), QStringList());
}

// Every item runs its code with its parameter on the edited picture: the result is the
// engine's own for that code and parameter, and undo goes back to the picture before.
TEST(EditorWindow, EveryMenuItemRunsItsFilter) {
    const QImage picture = randomPicture(23, 17, 2);
    for (const Menu& m : menus())
        for (const Item& item : m.items) {
            if (!item.caption)
                continue;
            frmManipulate f(popup(), picture);
            f.show();
            const std::uint64_t drawsBefore = imaging::UniformDrawCount();
            runMenuItem(f, item.control);
            EXPECT_FALSE(f.isLocked());
            if (item.code == 4 || item.code == 29) {
                // Filters of chance continue one sequence: a second run cannot repeat them.
                EXPECT_GT(imaging::UniformDrawCount(), drawsBefore) << item.control;
                EXPECT_NE(f.NewImage(), picture) << item.control;
            } else {
                EXPECT_EQ(f.NewImage(), engineResult(picture, item.code, item.parameter))
                    << item.control;
            }
            EXPECT_EQ(f.pictures().current(), f.NewImage());
            EXPECT_EQ(f.pictures().undoSteps(), 1);
            toolbarButton(f, 5)->trigger();
            EXPECT_EQ(f.NewImage(), picture) << item.control;
        }
}

TEST(EditorWindow, OppositeMenuItemsChangeInOppositeDirections) {
    // A mid grey with a tint: contrast moves it away from or towards the middle, saturation
    // moves the channels apart or together.
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(qRgb(150, 120, 100));
    for (auto [up, down] : {std::pair{"increasecontrast", "decreasecontrast"},
                            std::pair{"increasesaturation", "decreasesaturation"}}) {
        frmManipulate a(popup(), picture), b(popup(), picture);
        runMenuItem(a, up);
        runMenuItem(b, down);
        const QRgb more = a.NewImage().pixel(1, 1), less = b.NewImage().pixel(1, 1);
        EXPECT_GT(qRed(more) - qBlue(more), 50) << up;
        EXPECT_LT(qRed(less) - qBlue(less), 50) << down;
    }
}

// ---- opening, lock, progress and cancel -------------------------------------------------

TEST(EditorWindow, EveryStateStartsAsThePicture) {
    const QImage picture = randomPicture(9, 5, 3);
    frmManipulate f(popup(), picture);
    f.show();
    const editor::EditedPicture& s = f.pictures();
    for (const QImage* state : {&s.original(), &s.current()})
        EXPECT_EQ(*state, picture);
    EXPECT_EQ(s.undoSteps(), 0);
}

// Only the first activation starts again from the original: a message box or another
// application in between must not throw the edits away.
TEST(EditorWindow, ComingBackToTheWindowKeepsTheEdits) {
    const QImage picture = randomPicture(6, 3, 14);
    frmManipulate f(popup(), picture);
    f.show();
    toolbarButton(f, 2)->trigger();
    const QImage mirrored = f.NewImage();
    EXPECT_NE(mirrored, picture);
    f.hide();
    f.show();
    f.activateWindow();
    QApplication::processEvents();
    EXPECT_EQ(f.NewImage(), mirrored);
    EXPECT_EQ(f.pictures().current(), mirrored);
}

TEST(EditorWindow, WithoutAPictureItOpensEmptyAndCommandsDoNothingHarmful) {
    frmManipulate f{popup(), QImage()};
    f.show();
    runMenuItem(f, "blur");
    for (int i = 1; i <= 5; ++i)
        toolbarButton(f, i)->trigger();
    EXPECT_TRUE(f.NewImage().isNull());
    EXPECT_EQ(f.pictures().undoSteps(), 0);
    EXPECT_FALSE(f.isLocked());
}

TEST(EditorWindow, EverythingButCancelIsLockedWhileAFilterRuns) {
    const QImage picture = randomPicture(300, 200, 4);
    frmManipulate f(popup(), picture);
    f.show();
    startMenuItem(f, "sharpen");
    // The worker's result comes through the event loop, so the run is still on here.
    EXPECT_TRUE(f.isRunning());
    EXPECT_TRUE(f.isLocked());
    EXPECT_FALSE(f.findChild<QToolBar*>("Toolbar1")->isEnabled());
    for (const char* m : {"normal", "Special", "colors"})
        EXPECT_FALSE(menu(f, m)->menuAction()->isEnabled()) << m;
    EXPECT_FALSE(scrollBar(f)->isEnabled());
    EXPECT_FALSE(f.findChild<QPushButton*>("Command5")->isEnabled());
    EXPECT_TRUE(f.findChild<QPushButton*>("Command2")->isEnabled());
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    // A second request meanwhile is refused.
    f.filterCommand_Click("negative");
    ASSERT_TRUE(waitForCommand(f));
    // Afterwards everything is back, with the one filter's result.
    EXPECT_FALSE(f.isLocked());
    EXPECT_TRUE(f.findChild<QToolBar*>("Toolbar1")->isEnabled());
    EXPECT_TRUE(menu(f, "colors")->menuAction()->isEnabled());
    EXPECT_TRUE(scrollBar(f)->isEnabled());
    EXPECT_TRUE(f.findChild<QPushButton*>("Command5")->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(f.NewImage(), engineResult(picture, 1, 2));
}

TEST(EditorWindow, TheWindowKeepsRunningItsEventsWhileAFilterRuns) {
    frmManipulate f(popup(), largePicture());
    f.show();
    int ticksDuringRun = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] { ticksDuringRun += f.isRunning(); });
    tick.start(1);
    startMenuItem(f, "sharpen");
    EXPECT_TRUE(f.isRunning()); // the click came back before the filter was done
    ASSERT_TRUE(waitForCommand(f));
    EXPECT_GE(ticksDuringRun, 2);
}

TEST(EditorWindow, CancelDuringAFilterClosesAtOnceAndKeepsNothingOfIt) {
    const QImage picture = randomPicture(300, 200, 5);
    frmManipulate f(popup(), picture);
    f.show();
    testpopup::dismiss(popup());
    startMenuItem(f, "blur");
    QTest::mouseClick(f.findChild<QPushButton*>("Command2"), Qt::LeftButton);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.result(), QDialog::Rejected);
    EXPECT_FALSE(f.accepted());
    EXPECT_FALSE(f.isLocked());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // Even a run that got to its end before the click is dropped; nobody is told anything.
    ASSERT_TRUE(waitForCommand(f));
    EXPECT_FALSE(imaging::FilterBusy());
    EXPECT_EQ(f.NewImage(), picture);
    EXPECT_EQ(f.pictures().undoSteps(), 0);
    EXPECT_TRUE(testpopup::lastMessage(popup()).isEmpty());
}

// Closing by the window manager, or the main window going, while a filter runs: the editor goes
// at once without waiting, the worker ends on its own, the caller's picture is as it was.
TEST(EditorWindow, ClosingOrLosingItsWindowDuringAFilterKeepsThePicture) {
    const QImage picture = largePicture();
    for (bool closeBox : {true, false}) {
        auto mainWindow = std::make_unique<QWidget>();
        QPointer<frmManipulate> f = new frmManipulate(popup(), picture, mainWindow.get());
        f->setAttribute(Qt::WA_DeleteOnClose);
        QSignalSpy finished(f.data(), &QDialog::finished);
        f->open();
        startMenuItem(*f, "sharpen");
        if (closeBox) {
            f->close();
            ASSERT_EQ(finished.count(), 1);
            EXPECT_EQ(finished[0][0].toInt(), QDialog::Rejected);
        } else {
            mainWindow.reset();
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return !f; }));
        EXPECT_TRUE(QTest::qWaitFor([] { return !imaging::FilterBusy(); }, 30000));
        EXPECT_EQ(picture, largePicture());
    }
}

// A filter that reports an error (here: the engine is busy with another picture) leaves the
// window unlocked and the pictures as they were, and the user is told.
TEST(EditorWindow, AFailingFilterKeepsThePictureAndTellsTheUser) {
    const QImage picture = randomPicture(20, 10, 6);
    frmManipulate f(popup(), picture);
    f.show();
    toolbarButton(f, 2)->trigger(); // mirror: one step to undo
    const QImage mirrored = f.NewImage();
    testpopup::dismiss(popup());

    QImage other = randomPicture(10, 10, 7);
    std::int32_t progress = 0;
    bool asked = false;
    imaging::ApplyFilter(3, {other.bits(), 10, 10, other.bytesPerLine()}, 0, progress, [&] {
        if (!asked) {
            asked = true;
            startMenuItem(f, "negative");
            workers::pool()->waitForDone(); // the editor's worker meets the busy engine
        }
        return true;
    });
    ASSERT_TRUE(asked);
    ASSERT_TRUE(waitForCommand(f));
    EXPECT_FALSE(f.isLocked());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(f.NewImage(), mirrored);
    EXPECT_EQ(f.pictures().undoSteps(), 1);
    EXPECT_EQ(testpopup::lastMessage(popup()), "A filter is already running.");
    EXPECT_TRUE(testpopup::tellsOnly(popup()));
    testpopup::dismiss(popup());
    // Undo still goes back one change.
    toolbarButton(f, 5)->trigger();
    EXPECT_EQ(f.NewImage(), picture);
}

// ---- undo, accept and cancel ------------------------------------------------------------

TEST(EditorWindow, UndoStepsBackAsFarAsTheUserWentThenGreysOut) {
    frmManipulate f(popup(), onePixel(0, 0, 0));
    f.show();
    QAction* undo = toolbarButton(f, 5);
    EXPECT_FALSE(undo->isEnabled()); // nothing to undo yet
    scrollBar(f)->setValue(1);
    for (int step = 0; step < 25; ++step)
        toolbarButton(f, 4)->trigger();
    EXPECT_EQ(f.NewImage().pixel(0, 0), qRgb(25, 25, 25));
    // Twenty steps back, one level a step.
    for (int step = 1; step <= 20; ++step) {
        ASSERT_TRUE(undo->isEnabled()) << step;
        undo->trigger();
        EXPECT_EQ(f.NewImage().pixel(0, 0), qRgb(25 - step, 25 - step, 25 - step));
    }
    EXPECT_FALSE(undo->isEnabled());
    // A new change can be undone again.
    toolbarButton(f, 2)->trigger();
    EXPECT_TRUE(undo->isEnabled());
}

// Each step keeps the picture in 3 bytes a pixel, all steps together in 1.5 GiB: the 20 steps
// fit for 12 and 24 megapixels, fewer for 100; a picture larger than all of it keeps one.
TEST(EditorUndo, TwentyStepsFitUpTo24Megapixels) {
    const qsizetype bytesPerPixel = 3;
    EXPECT_EQ(editor::UndoDepth(4000 * 3000 * bytesPerPixel), 20u);
    EXPECT_EQ(editor::UndoDepth(6000 * 4000 * bytesPerPixel), 20u);
    EXPECT_EQ(editor::UndoDepth(qsizetype(12500) * 8000 * bytesPerPixel), 5u);
    EXPECT_EQ(editor::UndoDepth(qsizetype(2) << 30), 1u);
}

// Opened without waiting, as the main window opens it; the outcome comes with `finished`.
TEST(EditorWindow, AcceptHandsTheEditedPictureBack) {
    const QImage picture = randomPicture(16, 9, 9);
    frmManipulate f(popup(), picture);
    QSignalSpy finished(&f, &QDialog::finished);
    f.open();
    toolbarButton(f, 3)->trigger(); // flip
    QTest::mouseClick(f.findChild<QPushButton*>("Command5"), Qt::LeftButton);
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished[0][0].toInt(), QDialog::Accepted);
    EXPECT_TRUE(f.accepted());
    ASSERT_EQ(f.NewImage().size(), picture.size());
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(f.NewImage().pixel(x, y), picture.pixel(x, 8 - y));
}

TEST(EditorWindow, AcceptWithoutChangesHandsTheSamePictureBack) {
    const QImage picture = randomPicture(5, 5, 10);
    frmManipulate f(popup(), picture);
    f.open();
    f.findChild<QPushButton*>("Command5")->click();
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(f.NewImage(), picture);
}

TEST(EditorWindow, CancelAndTheCloseBoxHandNothingBack) {
    const QImage picture = randomPicture(5, 5, 11);
    for (bool closeBox : {false, true}) {
        frmManipulate f(popup(), picture);
        QSignalSpy finished(&f, &QDialog::finished);
        f.open();
        runMenuItem(f, "negative");
        if (closeBox)
            f.close();
        else
            f.findChild<QPushButton*>("Command2")->click();
        ASSERT_EQ(finished.count(), 1);
        EXPECT_EQ(finished[0][0].toInt(), QDialog::Rejected);
        EXPECT_FALSE(f.accepted());
    }
}

// ---- brightness -------------------------------------------------------------------------

QRgb brightened(const QImage& picture, int level) {
    frmManipulate f(popup(), picture);
    f.show();
    scrollBar(f)->setValue(level);
    toolbarButton(f, 4)->trigger();
    return f.NewImage().pixel(0, 0);
}

TEST(EditorBrightness, LevelsAddToEveryChannelWithinLimits) {
    EXPECT_EQ(brightened(onePixel(200, 10, 250), 99), qRgb(255, 109, 255));
    EXPECT_EQ(brightened(onePixel(200, 10, 250), -99), qRgb(101, 0, 151));
    EXPECT_EQ(brightened(onePixel(200, 10, 250), 0), qRgb(200, 10, 250));
}

TEST(EditorBrightness, TwiceAddsTwiceAndUndoGoesBackOne) {
    frmManipulate f(popup(), onePixel(100, 0, 255));
    f.show();
    scrollBar(f)->setValue(30);
    toolbarButton(f, 4)->trigger();
    toolbarButton(f, 4)->trigger();
    EXPECT_EQ(f.NewImage().pixel(0, 0), qRgb(160, 60, 255));
    toolbarButton(f, 5)->trigger();
    EXPECT_EQ(f.NewImage().pixel(0, 0), qRgb(130, 30, 255));
}

TEST(EditorBrightness, LevelZeroStillRecordsTheUndoCopy) {
    const QImage picture = onePixel(10, 20, 30);
    frmManipulate f(popup(), picture);
    f.show();
    runMenuItem(f, "negative");
    toolbarButton(f, 4)->trigger(); // level 0
    EXPECT_EQ(f.NewImage().pixel(0, 0), qRgb(245, 235, 225));
    toolbarButton(f, 5)->trigger(); // back one: still the negative
    EXPECT_EQ(f.NewImage().pixel(0, 0), qRgb(245, 235, 225));
}

TEST(EditorBrightness, TheCaptionShowsTheLevelUntilTheMouseMovesOverFrameOrToolbar) {
    frmManipulate f(popup(), onePixel(1, 2, 3));
    f.show();
    auto* level = f.findChild<QLabel*>("lblLevel");
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->text(), "Level: 0%");
    scrollBar(f)->setValue(-5);
    EXPECT_EQ(f.windowTitle(), QString("Tonwerk - Brightness Level ->  ") + "-5" + "%  <-");
    EXPECT_EQ(level->text(), "Level: -5%");
    scrollBar(f)->setValue(42);
    EXPECT_EQ(f.windowTitle(), "Tonwerk - Brightness Level ->  42%  <-");

    auto moveOver = [](QWidget* w) {
        QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), w->mapToGlobal(QPointF(3, 3)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
    };
    // Over the scroll bar itself the level stays.
    moveOver(scrollBar(f));
    EXPECT_EQ(f.windowTitle(), "Tonwerk - Brightness Level ->  42%  <-");
    moveOver(f.findChild<QWidget*>("Frame1"));
    EXPECT_EQ(f.windowTitle(), "Tonwerk");
    EXPECT_EQ(level->text(), "Level: 42%"); // the window still shows it

    scrollBar(f)->setValue(0);
    EXPECT_EQ(f.windowTitle(), "Tonwerk - Brightness Level ->  0%  <-");
    // A move over a toolbar button reaches the toolbar.
    moveOver(f.findChild<QToolBar*>("Toolbar1")->findChildren<QToolButton*>().constLast());
    EXPECT_EQ(f.windowTitle(), "Tonwerk");
}

// ---- rotate, mirror, flip ---------------------------------------------------------------

TEST(EditorTransforms, RotateIsAnExactQuarterTurnAndUndoes) {
    const QImage picture = randomPicture(200, 101, 12);
    frmManipulate f(popup(), picture);
    f.show();
    toolbarButton(f, 1)->trigger();
    const QImage turned = f.NewImage();
    ASSERT_EQ(turned.size(), QSize(101, 200));
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 101; ++x)
            ASSERT_EQ(turned.pixel(x, y), picture.pixel(y, 100 - x)) << x << "," << y;
    EXPECT_EQ(f.pictures().current(), turned);
    toolbarButton(f, 5)->trigger();
    EXPECT_EQ(f.NewImage(), picture);
    for (int turn = 0; turn < 4; ++turn)
        toolbarButton(f, 1)->trigger();
    EXPECT_EQ(f.NewImage(), picture);
}

TEST(EditorTransforms, MirrorAndFlipTwiceGiveThePictureBack) {
    const QImage picture = randomPicture(7, 4, 13);
    frmManipulate f(popup(), picture);
    f.show();
    toolbarButton(f, 2)->trigger();
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 7; ++x)
            ASSERT_EQ(f.NewImage().pixel(x, y), picture.pixel(6 - x, y));
    toolbarButton(f, 2)->trigger();
    EXPECT_EQ(f.NewImage(), picture);
    toolbarButton(f, 3)->trigger();
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 7; ++x)
            ASSERT_EQ(f.NewImage().pixel(x, y), picture.pixel(x, 3 - y));
    toolbarButton(f, 3)->trigger();
    EXPECT_EQ(f.NewImage(), picture);
}

} // namespace
