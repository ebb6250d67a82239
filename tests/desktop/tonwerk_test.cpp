// Tonwerk as a user sees it.
#include "app/app_fixture.h"
#include "app/preview_image.h"
#include "desktop/desktop.h"

#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>

using desktop::User;

namespace {

class Tonwerk : public AppFixture {};

TEST_F(Tonwerk, MenuCaptionsShowAsWritten) {
    auto main = open();
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get(), 15000));
    QImage picture(32, 24, QImage::Format_RGB32);
    picture.fill(Qt::red);
    main->pictures().set(0, picture);
    main->Image_Click(1);
    desktop::asUser([&](User& user) {
        user.click(main->Toolbar1()->widgetForAction(main->toolbarButton(8)));
        const auto window = user.findWindow("Tonwerk");
        ASSERT_TRUE(window);
        // What each item shows (its access key underlined, not written).
        const QStringList shown = user.onGui([] {
            QStringList texts;
            QWidget* editor = QApplication::activeModalWidget();
            for (QMenu* menu : editor->findChildren<QMenu*>())
                for (QAction* item : menu->actions())
                    if (!item->isSeparator()) {
                        texts << item->iconText();
                        if (item->iconText() == "Black & White")
                            texts << QKeySequence::mnemonic(item->text()).toString();
                    }
            return texts;
        });
        EXPECT_TRUE(shown.contains("Black & White")) << shown.join('|').toStdString();
        EXPECT_TRUE(shown.contains("Alt+B"));
        for (const QString& text : shown)
            EXPECT_FALSE(text.contains("  ")) << text.toStdString();
        user.closeByWindowManager(window->id);
        EXPECT_TRUE(user.waitUntil([] { return !QApplication::activeModalWidget(); }));
    });
}

} // namespace
