// The previews from the keyboard: the arrow keys go to the nearest print
// that way, Space and Return select as a click does; what a screen reader
// says of each; and no access key twice in the main window or a menu.
#include "app_fixture.h"

#include "app/file_list.h"
#include "app/preview_image.h"
#include "support/access_keys.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>

namespace {

class PreviewKeys : public AppFixture {
  protected:
    std::unique_ptr<frmcovercreator> w;
    void SetUp() override {
        writeIniAtPictures("");
        w = open();
        w->show();
    }
    // The position of the preview that has the window's focus, -1 for none.
    int focused() const {
        auto* preview = qobject_cast<PreviewImage*>(w->focusWidget());
        return preview ? preview->position() : -1;
    }
    void press(Qt::Key key) { QTest::keyClick(w->focusWidget(), key); }
};

TEST_F(PreviewKeys, ArrowsGoToTheNearestPrintThatWay) {
    w->SSTab1()->setCurrentIndex(4); // the wallets: three rows of three
    w->previewImage(10)->setFocus();
    const std::pair<Qt::Key, int> walk[] = {
        {Qt::Key_Right, 11}, {Qt::Key_Right, 12}, {Qt::Key_Right, 12}, {Qt::Key_Down, 15},
        {Qt::Key_Down, 18},  {Qt::Key_Left, 17},  {Qt::Key_Up, 14},    {Qt::Key_Left, 13},
        {Qt::Key_Up, 10},    {Qt::Key_Up, 10},
    };
    for (const auto& [key, position] : walk) {
        press(key);
        EXPECT_EQ(focused(), position) << QKeySequence(key).toString().toStdString();
    }
    // 4x6: one landscape print above two upright ones.
    w->SSTab1()->setCurrentIndex(2);
    w->previewImage(3)->setFocus();
    press(Qt::Key_Down);
    EXPECT_EQ(focused(), 4);
    press(Qt::Key_Right);
    EXPECT_EQ(focused(), 5);
    press(Qt::Key_Up);
    EXPECT_EQ(focused(), 3);
}

TEST_F(PreviewKeys, SpaceAndReturnSelectAsAClickDoes) {
    w->SSTab1()->setCurrentIndex(3);
    w->previewImage(7)->setFocus();
    press(Qt::Key_Space);
    EXPECT_EQ(w->order().selected(), 7);
    EXPECT_TRUE(w->previewImage(7)->isSelected());
    press(Qt::Key_Down);
    press(Qt::Key_Return);
    EXPECT_EQ(w->order().selected(), 9);
    EXPECT_FALSE(w->previewImage(7)->isSelected());
}

TEST_F(PreviewKeys, ScreenReaderNamesSayThePrintAndItsPicture) {
    EXPECT_EQ(w->previewImage(0)->accessibleName(), "8x10 print 1 of 1: empty");
    EXPECT_EQ(w->previewImage(17)->accessibleName(), "2.5x3.25 print 8 of 9: empty");
    makePicture("coffee.jpg", Qt::red);
    w->SSTab1()->setCurrentIndex(2);
    w->openFile(QDir(pictures()).filePath("coffee.jpg"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w->pictures().isLoading(); }));
    EXPECT_EQ(w->previewImage(4)->accessibleName(), "4x6 print 2 of 3: coffee.jpg");
    // An edit keeps the name of the picture it was made from; a scan has none.
    w->pictures().set(4, QImage(8, 8, QImage::Format_RGB32), w->pictures().name(4));
    EXPECT_EQ(w->previewImage(4)->accessibleName(), "4x6 print 2 of 3: coffee.jpg");
    w->pictures().set(19, QImage(8, 8, QImage::Format_RGB32));
    EXPECT_EQ(w->previewImage(19)->accessibleName(), "Scanned Picture: unnamed picture");
}

TEST_F(PreviewKeys, ToolbarButtonsAreNamedByTheirTips) {
    const auto named = [&](int button) {
        return w->Toolbar1()->widgetForAction(w->toolbarButton(button))->accessibleName();
    };
    EXPECT_EQ(named(3), "4x6 Package");
    EXPECT_EQ(named(8), "Tonwerk");
    EXPECT_EQ(named(7), "Print Single Picture");
    w->check(1)->click();
    EXPECT_EQ(named(7), "Print Selected Packages");
}

TEST_F(PreviewKeys, NoAccessKeyTwiceInTheWindowOrAMenu) {
    QStringList window;
    for (QAction* menu : w->menuBar()->actions()) {
        window << menu->text();
        QStringList items;
        for (QAction* item : menu->menu()->actions())
            items << item->text();
        EXPECT_EQ(testsupport::sharedAccessKeys(items), QStringList())
            << menu->text().toStdString();
    }
    for (QAbstractButton* button : w->findChildren<QAbstractButton*>())
        window << button->text();
    for (QGroupBox* box : w->findChildren<QGroupBox*>())
        window << box->title();
    EXPECT_EQ(testsupport::sharedAccessKeys(window), QStringList());
}

} // namespace
