// "Choose Printer..." as a user meets it: from the Utilities menu by keys, the
// photo printer and its paper chosen with the keyboard, remembered, and shown
// again when the window opens next.
#include "app/app_fixture.h"
#include "desktop/desktop.h"
#include "print/frmChoosePrinter.h"
#include "print/printer_choice.h"
#include "services/cups_server.h"
#include "services/ipp_photo_printer.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QScreen>
#include <QTreeWidget>

using desktop::User;

namespace {

print::frmChoosePrinter* chooser() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<print::frmChoosePrinter*>(w); window && window->isVisible())
            return window;
    return nullptr;
}

class ChoosePrinterWindow : public AppFixture {
  protected:
    testsvc::CupsServer cups;
    testsvc::IppPhotoPrinter photo;
};

TEST_F(ChoosePrinterWindow, PhotoPaperChosenByKeysAndRemembered) {
    QString error;
    ASSERT_TRUE(cups.start(&error)) << error.toStdString();
    ASSERT_TRUE(photo.start(&error)) << error.toStdString();
    ASSERT_TRUE(cups.addPrinter(testsvc::FolderPrinter(), true, &error)) << error.toStdString();
    ASSERT_TRUE(cups.addDriverlessPrinter("parvello-photo", photo.uri(), &error))
        << error.toStdString();
    writeIniAtPictures("");
    auto main = open();
    main->show();
    const auto openChooser = [](User& user) {
        user.pressKeys("alt+u");
        user.pressKeys("c");
        ASSERT_TRUE(user.findWindow("Choose Printer"));
        ASSERT_TRUE(user.waitUntil([&] { return chooser() && !chooser()->isAsking(); }));
    };
    desktop::asUser([&](User& user) {
        ASSERT_TRUE(user.findWindow("Parvello"));
        openChooser(user);
        ASSERT_TRUE(user.waitUntilPlaced(user.onGui([&] { return chooser(); })));
        EXPECT_TRUE(user.onGui([&] {
            return chooser()->screen()->availableGeometry().contains(chooser()->frameGeometry());
        }));
        // The rows are in name order: the photo printer is above the default.
        user.pressKeys("Up");
        ASSERT_TRUE(user.waitUntil([&] {
            return chooser()->fraPaper->title() == "Paper for parvello-photo" &&
                   !chooser()->isAsking();
        }));
        user.pressKeys("alt+z");
        user.pressKeys("4"); // 4x6, the one size whose caption starts so
        user.pressKeys("alt+b");
        user.pressKeys("alt+t");
        user.pressKeys("m"); // Matte, not the glossy a photo printer starts with
        user.pressKeys("alt+q");
        user.pressKeys("n"); // Normal, not the best
        user.pressKeys("alt+u");
        ASSERT_TRUE(user.waitUntil([&] { return chooser() == nullptr; }));
        EXPECT_EQ(user.onGui([&] { return print::chosenPrinter(); }), "parvello-photo");

        openChooser(user);
        const QString shown = user.onGui([&] {
            const print::frmChoosePrinter* w = chooser();
            return QStringList{w->lstPrinters->currentItem()->text(1),
                               w->cboPaperSize->currentData().toString(),
                               w->chkBorderless->isChecked() ? "borderless" : "with borders",
                               w->cboPaperType->currentText(), w->cboQuality->currentText()}
                .join(", ");
        });
        EXPECT_EQ(shown.toStdString(), "parvello-photo, na_index-4x6_4x6in, borderless, Matte "
                                       "Photo Paper, Normal");
        user.pressKeys("Escape");
        ASSERT_TRUE(user.waitUntil([&] { return chooser() == nullptr; }));
        user.onGui([&] { main->close(); });
    });
    QFile ini(iniPath());
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains("\nPrinter=parvello-photo\n"));
}

} // namespace
