// The popup on a Wayland desktop (sway): the compositor places it, keeps it
// above the main window whatever is clicked, and it answers from the keyboard.
#include "app/app_fixture.h"
#include "desktop/sway_desktop.h"
#include "notify/frmmsnpopup.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTest>

namespace {

class PopupOnWayland : public AppFixture {
  protected:
    // The main window and the popup as sway has them: the popup is the smaller.
    struct Shown {
        sway::Window main, popup;
    };
    static std::optional<Shown> shown() {
        const std::vector<sway::Window> found = sway::windows();
        if (found.size() != 2)
            return std::nullopt;
        auto area = [](const sway::Window& w) { return w.rect.width() * w.rect.height(); };
        const bool firstIsMain = area(found[0]) > area(found[1]);
        return Shown{found[firstIsMain ? 0 : 1], found[firstIsMain ? 1 : 0]};
    }
    // What sway and the program show, for a failure's message.
    static std::string state(const QWidget& popup) {
        QString text;
        for (const sway::Window& w : sway::windows())
            text += QStringLiteral("[%1 %2,%3 %4x%5%6%7%8] ")
                        .arg(w.title)
                        .arg(w.rect.x())
                        .arg(w.rect.y())
                        .arg(w.rect.width())
                        .arg(w.rect.height())
                        .arg(w.visible ? " visible" : "")
                        .arg(w.focused ? " focused" : "")
                        .arg(w.floating ? " floating" : "");
        text += QStringLiteral("popup %1x%2%3")
                    .arg(popup.width())
                    .arg(popup.height())
                    .arg(popup.isActiveWindow() ? " active" : "");
        return text.toStdString();
    }
    static bool waitUntil(const std::function<bool()>& done, int timeoutMs = 10000) {
        return QTest::qWaitFor(done, timeoutMs);
    }
    // Presses `key` until `answered` holds, three times at most. Under load a
    // key sent with wtype is now and then lost (about one run in twenty here;
    // the popup was in front with the keyboard, and the cause is not found).
    // A user who sees no answer presses again; a popup that had lost the
    // keyboard would still fail all three.
    static bool pressUntil(const QString& key, const std::function<bool()>& answered) {
        for (int tries = 0; tries < 3; ++tries) {
            sway::pressKey(key);
            if (waitUntil(answered, 3000))
                return true;
        }
        return false;
    }
    // A point of the main window that the popup does not cover.
    static QPoint besideThePopup(const Shown& s) {
        const QRect inner = s.main.rect.adjusted(30, 30, -30, -30);
        for (QPoint p :
             {inner.topLeft(), inner.topRight(), inner.bottomLeft(), inner.bottomRight()})
            if (!s.popup.rect.contains(p))
                return p;
        return {};
    }
    // The popup's gradient, blue at its top, is what the screen shows there.
    static bool gradientShownAt(const QRect& popup) {
        const QColor c = sway::screenshot().pixelColor(popup.center().x(), popup.top() + 4);
        return c.blue() > 200 && c.red() < c.blue() - 60;
    }
};

TEST_F(PopupOnWayland, StaysAboveTheMainWindowAndAnswersFromTheKeyboard) {
    auto main = open();
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get(), 10000));
    notify::frmmsnpopup& popup = main->popup();

    std::optional<bool> answer;
    popup.askYesNo(" This picture already exists. Overwrite old picture with new one?",
                   [&](bool yes) { answer = yes; });
    // Up with the keyboard, as sway and the program see it: a user acts only
    // on what has come up.
    std::optional<Shown> up;
    auto inFront = [&] {
        up = shown();
        return up && up->popup.visible && up->popup.focused &&
               up->popup.rect.size() == popup.size() && popup.isActiveWindow();
    };
    ASSERT_TRUE(waitUntil(inFront)) << state(popup);
    EXPECT_TRUE(up->popup.floating);

    // A click on the (disabled) main window takes the focus there, but the
    // popup stays in front of it, on screen.
    const QPoint beside = besideThePopup(*up);
    ASSERT_FALSE(beside.isNull());
    sway::clickAt(beside);
    const QRect at = up->popup.rect;
    EXPECT_TRUE(waitUntil([&] {
        const std::optional<Shown> now = shown();
        return now && now->popup.visible && gradientShownAt(at);
    })) << "the popup is not in front of the main window: "
        << state(popup);
    // It takes the keyboard back by itself. Now and then under load (about
    // one run in twenty-five here) Qt still counts it active while sway has
    // given the keyboard to the main window; then the user clicks it once.
    if (!waitUntil(inFront, 3000)) {
        sway::clickAt(at.center());
        ASSERT_TRUE(waitUntil(inFront)) << "the popup does not take the keyboard: " << state(popup);
    }

    ASSERT_TRUE(pressUntil("Return", [&] { return answer.has_value(); }))
        << "Return did not answer: " << state(popup);
    EXPECT_EQ(answer, true);
    EXPECT_TRUE(waitUntil([&] { return sway::windows().size() == 1 && main->isEnabled(); }));

    // Escape answers the print question "Cancel".
    std::optional<bool> print;
    popup.askPrint("Please make sure your printer is on and full of paper.",
                   [&](bool yes) { print = yes; });
    ASSERT_TRUE(waitUntil(inFront));
    ASSERT_TRUE(pressUntil("Escape", [&] { return print.has_value(); }))
        << "Escape did not answer: " << state(popup);
    EXPECT_EQ(print, false);

    // Nothing is held: a click gives the main window the keyboard, and a
    // main window that can be resized follows the compositor's resize.
    ASSERT_TRUE(waitUntil([&] { return sway::windows().size() == 1; }));
    sway::clickAt(sway::windows().front().rect.center());
    EXPECT_TRUE(waitUntil([&] { return QGuiApplication::focusWindow() == main->windowHandle(); }));
    EXPECT_TRUE(main->isEnabled());
    if (main->minimumSize() != main->maximumSize()) {
        const QString pid = QString::number(QCoreApplication::applicationPid());
        sway::message({QStringLiteral("[pid=%1]").arg(pid), "resize", "set", "1200", "800"});
        EXPECT_TRUE(waitUntil([&] {
            const std::vector<sway::Window> found = sway::windows();
            return found.size() == 1 && found[0].rect.size() == main->size();
        }));
    }
}

} // namespace
