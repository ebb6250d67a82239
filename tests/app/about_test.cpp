// The about box: its fixed size, its two lines of text in place, and closing
// on a click on the picture, "Close" or Escape, but not on a click on the text.
#include "app/frmabout.h"
#include "common/paths.h"

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QLabel* label(const frmAbout& box, const char* name) {
    return box.findChild<QLabel*>(QLatin1String(name));
}

} // namespace

TEST(AboutBox, FixedSizeAndTexts) {
    frmAbout box;
    EXPECT_EQ(box.windowTitle(), "About");
    // 7200 x 5565 twips at 15 twips a pixel, and the user cannot resize it.
    EXPECT_EQ(box.size(), QSize(480, 371));
    EXPECT_EQ(box.minimumSize(), box.maximumSize());

    QLabel* version = label(box, "lblVersion");
    QLabel* notice = label(box, "lblNotice");
    ASSERT_TRUE(version && notice);
    EXPECT_EQ(version->text(), "Version 3.00");
    EXPECT_EQ(version->geometry(), QRect(160, 336, 161, 17));
    EXPECT_EQ(notice->geometry(), QRect(112, 352, 265, 17));
    EXPECT_TRUE(notice->text().contains("Quenwick"));
    for (QLabel* l : {version, notice}) {
        EXPECT_TRUE(l->font().bold());
        EXPECT_EQ(l->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
        EXPECT_EQ(l->palette().color(QPalette::WindowText), QColor(Qt::white));
        // The whole line fits its box.
        EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()), l->width())
            << l->objectName().toStdString();
    }
}

TEST(AboutBox, ShipsItsPicture) {
    const QImage picture(paths::dataFile("pictures/about.png"));
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(480, 371));
    // The window shows that picture, not a grey dialog.
    frmAbout box;
    box.show();
    const QImage shown = box.grab().toImage();
    EXPECT_EQ(shown.pixelColor(5, 5).rgb(), picture.pixelColor(5, 5).rgb());
}

TEST(AboutBox, ClickOnTheTextKeepsItOpen) {
    frmAbout box;
    box.show();
    QTest::mouseClick(label(box, "lblVersion"), Qt::LeftButton);
    QTest::mouseClick(label(box, "lblNotice"), Qt::LeftButton);
    EXPECT_TRUE(box.isVisible());
    // Only the left button clicks.
    QTest::mouseClick(&box, Qt::RightButton, {}, QPoint(30, 30));
    EXPECT_TRUE(box.isVisible());
}

TEST(AboutBox, ClickOnThePictureClosesTheModalBox) {
    QWidget mainWindow;
    mainWindow.show();
    frmAbout box(&mainWindow);
    QTimer::singleShot(50, &box, [&] {
        EXPECT_EQ(QApplication::activeModalWidget(), &box);
        QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(240, 100));
    });
    QTimer::singleShot(3000, &box, [&] { box.reject(); }); // a safety net only
    EXPECT_EQ(box.exec(), QDialog::Accepted);
    EXPECT_FALSE(box.isVisible());
    // The main window takes input again.
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(mainWindow.isEnabled());
}

TEST(AboutBox, CloseAndEscapeClose) {
    frmAbout box;
    box.show();
    auto* close = box.findChild<QPushButton*>(QStringLiteral("cmdClose"));
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->text(), "Close");
    EXPECT_TRUE(box.rect().contains(close->geometry()));
    close->click();
    EXPECT_FALSE(box.isVisible());

    box.show();
    box.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : &box, Qt::Key_Escape);
    EXPECT_FALSE(box.isVisible());
}
