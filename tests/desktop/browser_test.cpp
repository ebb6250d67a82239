// The file list as a user meets it: a double-click on a file, or the single
// click of a desktop that opens items on one click, loads the picture once.
#include "app/app_fixture.h"
#include "app/file_list.h"
#include "app/preview_image.h"
#include "desktop/desktop.h"

#include <QProxyStyle>
#include <QTabWidget>
#include <QThread>
#include <sys/inotify.h>
#include <unistd.h>

using desktop::User;

namespace {

// How often a file has been opened, as the kernel tells it (inotify): each
// load of a picture reads its file once. Closes are watched too, or two
// opens in a row would reach us as one event.
class OpenCount {
  public:
    explicit OpenCount(const QString& path) : m_fd(inotify_init1(IN_NONBLOCK)) {
        inotify_add_watch(m_fd, path.toLocal8Bit().constData(), IN_OPEN | IN_CLOSE);
    }
    ~OpenCount() { close(m_fd); }
    int operator()() {
        alignas(inotify_event) char buffer[4096];
        for (ssize_t n; (n = read(m_fd, buffer, sizeof buffer)) > 0;)
            for (char* p = buffer; p < buffer + n;) {
                const auto* event = reinterpret_cast<inotify_event*>(p);
                m_opens += (event->mask & IN_OPEN) ? 1 : 0;
                p += sizeof(inotify_event) + event->len;
            }
        return m_opens;
    }

  private:
    int m_fd;
    int m_opens = 0;
};

// KDE's setting: items open on a single click.
class SingleClickStyle : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        if (hint == SH_ItemView_ActivateItemOnSingleClick)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

class FileList : public AppFixture {};

TEST_F(FileList, OneGestureLoadsThePictureOnce) {
    const QString red = makePicture("red.jpg", Qt::red);
    makePicture("blue.jpg", Qt::blue);
    writeIniAtPictures("Tab=4\n");
    SingleClickStyle singleClick; // outlives the window that uses it
    auto main = open();
    main->show();
    ::FileList* list = main->fileSelect();
    auto itemCentre = [&](const QString& name) {
        const QModelIndex item = list->model()->index(int(list->names().indexOf(name)), 0);
        return list->viewport()->mapToGlobal(list->visualRect(item).center());
    };
    // 'r', 'b', or '-' for anything else.
    auto preview = [&] {
        const QImage& p = main->pictures().picture(10);
        const QColor c = p.isNull() ? QColor() : p.pixelColor(p.width() / 2, p.height() / 2);
        return c.red() > 200 ? 'r' : c.blue() > 200 ? 'b' : '-';
    };
    OpenCount opens(red);
    desktop::asUser([&](User& user) {
        ASSERT_TRUE(user.findWindow("Parvello"));
        ASSERT_TRUE(user.waitUntilPlaced(main.get()));
        const QPoint at = user.onGui([&] { return itemCentre("red.jpg"); });
        user.doubleClickAt(at);
        ASSERT_TRUE(user.waitUntil([&] { return preview() == 'r'; }));
        QThread::msleep(300); // room for a second load, were there one
        EXPECT_EQ(opens(), 1) << "a double-click";

        // Away and back with a single click on a single-click desktop.
        user.onGui([&] { list->setStyle(&singleClick); });
        user.clickAt(user.onGui([&] { return itemCentre("blue.jpg"); }));
        ASSERT_TRUE(user.waitUntil([&] { return preview() == 'b'; }));
        user.clickAt(at);
        ASSERT_TRUE(user.waitUntil([&] { return preview() == 'r'; }));
        QThread::msleep(300);
        EXPECT_EQ(opens(), 2) << "a single click on a single-click desktop";
    });
}

} // namespace
