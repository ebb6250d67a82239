// "Choose Printer..." as a user meets it: from the Utilities menu by keys, a
// printer picked with the mouse, remembered in the settings file.
#include "app/app_fixture.h"
#include "desktop/desktop.h"
#include "print/frmChoosePrinter.h"
#include "print/printer_choice.h"
#include "services/cups_server.h"

#include <QApplication>
#include <QPushButton>
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
};

TEST_F(ChoosePrinterWindow, PickedWithTheMouseAndRemembered) {
    QString error;
    ASSERT_TRUE(cups.start(&error)) << error.toStdString();
    testsvc::FolderPrinter second;
    second.name = "parvello-second";
    ASSERT_TRUE(cups.addPrinter(testsvc::FolderPrinter(), true, &error)) << error.toStdString();
    ASSERT_TRUE(cups.addPrinter(second, false, &error)) << error.toStdString();
    writeIniAtPictures("");
    auto main = open();
    main->show();
    desktop::asUser([&](User& user) {
        ASSERT_TRUE(user.findWindow("Parvello"));
        user.pressKeys("alt+u");
        user.pressKeys("c");
        ASSERT_TRUE(user.findWindow("Choose Printer"));
        ASSERT_TRUE(user.waitUntil([&] { return chooser() != nullptr; }));
        // The rows are in name order: the second printer comes first.
        const QPoint row = user.onGui([&] {
            QTreeWidget* list = chooser()->lstPrinters;
            const QRect r = list->visualItemRect(list->topLevelItem(0));
            return list->viewport()->mapToGlobal(r.center());
        });
        user.clickAt(row);
        user.click(user.onGui([&] { return chooser()->cmdUse; }));
        ASSERT_TRUE(user.waitUntil([&] { return chooser() == nullptr; }));
        EXPECT_EQ(user.onGui([&] { return print::chosenPrinter(); }), second.name);
        user.onGui([&] { main->close(); });
    });
    QFile ini(iniPath());
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains("\nPrinter=parvello-second\n"));
}

} // namespace
