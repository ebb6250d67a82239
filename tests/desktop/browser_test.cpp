// The file list as a user meets it: the pictures' thumbnails; a double-click
// on a file, or the single click of a desktop that opens items on one click,
// loads the picture once; the arrow keys move and Enter or Space chooses.
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

// Whether the file's row shows a patch of its picture's colour: its thumbnail.
bool showsColour(::FileList* list, const QString& name, QColor colour) {
    const QModelIndex item = list->model()->index(int(list->names().indexOf(name)), 0);
    const QImage row = list->viewport()->grab(list->visualRect(item)).toImage();
    for (int y = 0; y < row.height(); ++y)
        for (int x = 0; x < row.width(); ++x) {
            const QColor c = row.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                    std::abs(c.blue() - colour.blue()) <
                40)
                return true;
        }
    return false;
}

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
        // The thumbnails are made first: that reads the file too.
        ASSERT_TRUE(user.waitUntil([&] {
            return showsColour(list, "red.jpg", Qt::red) && showsColour(list, "blue.jpg", Qt::blue);
        }));
        const int before = opens();
        const QPoint at = user.onGui([&] { return itemCentre("red.jpg"); });
        user.doubleClickAt(at);
        ASSERT_TRUE(user.waitUntil([&] { return preview() == 'r'; }));
        QThread::msleep(300); // room for a second load, were there one
        EXPECT_EQ(opens(), before + 1) << "a double-click";

        // Away and back with a single click on a single-click desktop.
        user.onGui([&] { list->setStyle(&singleClick); });
        user.clickAt(user.onGui([&] { return itemCentre("blue.jpg"); }));
        ASSERT_TRUE(user.waitUntil([&] { return preview() == 'b'; }));
        user.clickAt(at);
        ASSERT_TRUE(user.waitUntil([&] { return preview() == 'r'; }));
        QThread::msleep(300);
        EXPECT_EQ(opens(), before + 2) << "a single click on a single-click desktop";
    });
}

TEST_F(FileList, ShowsThumbnailsAndKeysMoveAndChoose) {
    makePicture("blue.jpg", Qt::blue);
    makePicture("green.jpg", Qt::green);
    makePicture("red.jpg", Qt::red);
    writeIniAtPictures("Tab=4\n");
    auto main = open();
    main->show();
    ::FileList* list = main->fileSelect();
    auto preview = [&] {
        const QImage& p = main->pictures().picture(10);
        return p.isNull() ? QColor() : p.pixelColor(p.width() / 2, p.height() / 2);
    };
    auto previewIs = [&](int red, int green, int blue) {
        const QColor c = preview();
        return (c.red() > 200) == bool(red) && (c.green() > 200) == bool(green) &&
               (c.blue() > 200) == bool(blue);
    };
    desktop::asUser([&](User& user) {
        ASSERT_TRUE(user.findWindow("Parvello"));
        ASSERT_TRUE(user.waitUntilPlaced(main.get()));
        EXPECT_TRUE(user.waitUntil([&] {
            return showsColour(list, "blue.jpg", Qt::blue) &&
                   showsColour(list, "green.jpg", Qt::green) &&
                   showsColour(list, "red.jpg", Qt::red);
        }));

        const QPoint first = user.onGui([&] {
            return list->viewport()->mapToGlobal(
                list->visualRect(list->model()->index(0, 0)).center());
        });
        user.clickAt(first);
        ASSERT_TRUE(user.waitUntil([&] { return previewIs(0, 0, 1); }));
        user.pressKeys("Down");
        user.pressKeys("Down");
        user.pressKeys("Return");
        ASSERT_TRUE(user.waitUntil([&] { return previewIs(1, 0, 0); }));
        user.pressKeys("Up");
        user.pressKeys("space");
        EXPECT_TRUE(user.waitUntil([&] { return previewIs(0, 1, 0); }));
    });
}

} // namespace
