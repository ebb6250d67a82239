// "Print Preview" as a user meets it: from the File menu by keys, and from the
// print question; one page per ticked package on the printer's paper, with
// the copies, the cells filled and guided as they will print, the unprintable
// edges shaded.
#include "app/app_fixture.h"
#include "desktop/desktop.h"
#include "notify/frmmsnpopup.h"
#include "print/print_preview.h"
#include "print/printer_choice.h"
#include "services/cups_server.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTest>

using desktop::User;

namespace {

print::PrintPreview* previewWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<print::PrintPreview*>(w); window && window->isVisible())
            return window;
    return nullptr;
}

QStringList captions(print::PrintPreview* window) {
    QStringList texts;
    for (QLabel* label : window->findChildren<QLabel*>("pageCaption"))
        texts << label->text();
    return texts;
}

class PrintPreviewWindow : public AppFixture {
  protected:
    testsvc::CupsServer cups;
    testsvc::FolderPrinter printer; // Letter; margins left 12, top 24, right 20, bottom 30 pt

    void SetUp() override {
        QString error;
        ASSERT_TRUE(cups.start(&error)) << error.toStdString();
        ASSERT_TRUE(cups.addPrinter(printer, true, &error)) << error.toStdString();
        print::setChosenPrinter({}); // an earlier test's choice would win over the default
        // 5x7 and wallets ticked, two copies, cropped to fill without
        // turning, with cut guides.
        writeIniAtPictures("Tab=1\n5x7=1\n2.5x3.25=1\nCopies=2\nFill=crop\nTurnToFit=0\n"
                           "CutGuides=1\n");
    }

    // A 3:2 picture: a round head on a sky over grass; a stretched print
    // would make the head an upright oval.
    void makePortrait(const QString& name) {
        QImage image(600, 400, QImage::Format_RGB32);
        image.fill(QColor(150, 190, 230));
        QPainter painter(&image);
        painter.fillRect(0, 260, 600, 140, QColor(90, 150, 70));
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(200, 150, 120));
        painter.drawEllipse(QPoint(300, 190), 90, 110);
        painter.setBrush(QColor(60, 40, 30));
        painter.drawChord(QRect(210, 80, 180, 160), 0, 180 * 16);
        painter.end();
        ASSERT_TRUE(image.save(QDir(pictures()).filePath(name)));
    }

    // 600 x 400: red up to x = 150, blue to 450, green beyond. Cropped into
    // a wallet (2.5:3.25) the window is x = 146 .. 454: blue all over.
    void makeStripes(const QString& name) {
        QImage image(600, 400, QImage::Format_RGB32);
        image.fill(QColor(30, 90, 200));
        QPainter painter(&image);
        painter.fillRect(0, 0, 150, 400, QColor(220, 40, 40));
        painter.fillRect(450, 0, 150, 400, QColor(40, 180, 60));
        painter.end();
        ASSERT_TRUE(image.save(QDir(pictures()).filePath(name)));
    }
};

TEST_F(PrintPreviewWindow, FileMenuShowsOnePagePerTickedPackage) {
    auto main = open();
    main->show();
    makePortrait("portrait.jpg");
    makeStripes("stripes.jpg");
    const auto loaded = [&] { return !main->pictures().isLoading(); };
    main->openFile(QDir(pictures()).filePath("portrait.jpg"));
    ASSERT_TRUE(QTest::qWaitFor(loaded));
    main->SSTab1()->setCurrentIndex(4);
    main->openFile(QDir(pictures()).filePath("stripes.jpg"));
    ASSERT_TRUE(QTest::qWaitFor(loaded));
    desktop::asUser([&](User& user) {
        ASSERT_TRUE(user.findWindow("Parvello"));
        user.pressKeys("alt+f");
        user.pressKeys("v");
        ASSERT_TRUE(user.findWindow("Print Preview"));
        ASSERT_TRUE(user.waitUntil([] { return previewWindow() != nullptr; }));
        EXPECT_EQ(user.onGui([] { return captions(previewWindow()); }),
                  QStringList({"Sheet 1 of 2: 5x7, 2 copies", "Sheet 2 of 2: 2.5x3.25, 2 copies"}));
        // The wallet sheet, one pixel to the point: Letter paper, the first
        // wallet (2.5 x 3.25 in) from the printable area's corner, cropped
        // (stretched, its left and right quarters would be red and green), a
        // cut guide in the margin beside the first row's lower edge, the
        // unprintable edges shaded, the rest of the paper white.
        const QImage page = user.onGui(
            [] { return previewWindow()->findChildren<QLabel*>("page")[1]->pixmap().toImage(); });
        ASSERT_EQ(page.size(), QSize(612, 792));
        auto near = [](QRgb a, QRgb b) {
            return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                       std::abs(qBlue(a) - qBlue(b)) <
                   12;
        };
        for (const int x : {5, 90, 172, 190}) // 190: the next wallet
            EXPECT_TRUE(near(page.pixel(12 + x, 24 + 117), qRgb(30, 90, 200))) << x;
        const auto grey = [&](int x, int y) {
            const QRgb p = page.pixel(x, y);
            return qGray(p) < 235 && std::abs(qRed(p) - qBlue(p)) < 12;
        };
        bool guide = false;
        for (int y = 24 + 231; y <= 24 + 237; ++y)
            guide = guide || grey(12 + 550, y);
        EXPECT_TRUE(guide);
        EXPECT_EQ(page.pixel(12 + 570, 300), qRgb(255, 255, 255));
        for (const QPoint edge :
             {QPoint(6, 300), QPoint(300, 12), QPoint(602, 300), QPoint(300, 780)})
            EXPECT_LT(qGray(page.pixel(edge)), 220) << edge.x() << "," << edge.y();
        if (const QString shots = qEnvironmentVariable("PARVELLO_SCREENSHOTS"); !shots.isEmpty())
            user.onGui([&] { previewWindow()->grab().save(shots + "/print-preview.png"); });
        user.closeByWindowManager(user.onGui([] { return (QWidget*)previewWindow(); }));
        ASSERT_TRUE(user.waitUntil([] { return previewWindow() == nullptr; }));
        user.onGui([&] { main->close(); });
    });
}

TEST_F(PrintPreviewWindow, PrintQuestionOpensItAndStaysOpen) {
    auto main = open();
    QImage picture(1200, 1500, QImage::Format_RGB32);
    picture.fill(Qt::green);
    for (int position = 0; position < 19; ++position)
        main->pictures().set(position, picture);
    main->show();
    desktop::asUser([&](User& user) {
        ASSERT_TRUE(user.findWindow("Parvello"));
        ASSERT_TRUE(user.waitUntil([&] { return main->isEnabled(); }));
        user.click(main->cmdPrint());
        notify::frmmsnpopup& popup = main->popup();
        ASSERT_TRUE(user.waitUntil([&] {
            return popup.isVisible() && !popup.tmrOpen.isActive() && popup.Command6->isVisible();
        }));
        user.click(popup.Command6);
        ASSERT_TRUE(user.waitUntil([] { return previewWindow() != nullptr; }));
        EXPECT_EQ(user.onGui([] { return previewWindow()->pageCount(); }), 2);
        EXPECT_TRUE(user.onGui([&] { return popup.isLoaded(); })); // still asking
        user.click(popup.Command3);                                // "Cancel": nothing prints
        ASSERT_TRUE(user.waitUntil([&] { return !popup.isLoaded(); }));
        user.onGui([] { previewWindow()->close(); });
        user.onGui([&] { main->close(); });
    });
}

} // namespace
