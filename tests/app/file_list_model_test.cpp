// The file list's model: the folder's pictures sorted by name, following the
// folder as files come, go, are renamed or change, with thumbnails for the
// rows shown and a mark for a picture that cannot be read.
#include "app/file_list_model.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class FileListModelTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    FileListModel model;

    void makePicture(const QString& name, QColor colour) {
        QImage image(80, 60, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(dir.filePath(name)));
    }

    static bool withinTwoSeconds(const std::function<bool()>& condition) {
        QElapsedTimer clock;
        clock.start();
        while (!condition() && clock.elapsed() < 2000)
            QTest::qWait(20);
        return condition();
    }

    QVariant data(const QString& name, int role) const {
        return model.index(int(model.names().indexOf(name))).data(role);
    }

    // The colour in the middle of a row's thumbnail.
    QColor middle(const QString& name) const {
        const QImage shown = data(name, Qt::DecorationRole).value<QPixmap>().toImage();
        return shown.pixelColor(shown.width() / 2, shown.height() / 2);
    }
};

TEST_F(FileListModelTest, FollowsTheFolderSortedByName) {
    makePicture("b.jpg", Qt::red);
    ASSERT_TRUE(model.setFolder(dir.path()));
    EXPECT_EQ(model.names(), QStringList({"b.jpg"}));

    makePicture("C.png", Qt::green);
    makePicture("a.jpg", Qt::blue);
    EXPECT_TRUE(withinTwoSeconds([&] {
        return model.names() == QStringList({"a.jpg", "b.jpg", "C.png"});
    }));

    ASSERT_TRUE(QFile::remove(dir.filePath("b.jpg")));
    EXPECT_TRUE(withinTwoSeconds([&] { return model.names() == QStringList({"a.jpg", "C.png"}); }));

    ASSERT_TRUE(QFile::rename(dir.filePath("a.jpg"), dir.filePath("d.jpg")));
    EXPECT_TRUE(withinTwoSeconds([&] { return model.names() == QStringList({"C.png", "d.jpg"}); }));
    EXPECT_EQ(model.rowCount(), 2);
}

TEST_F(FileListModelTest, ShownRowsGetThumbnailsAndABrokenPictureItsMark) {
    makePicture("a.png", Qt::red);
    QFile broken(dir.filePath("b.jpg"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a picture at all");
    broken.close();
    makePicture("c.png", Qt::blue);
    ASSERT_TRUE(model.setFolder(dir.path()));
    const QImage placeholder = data("c.png", Qt::DecorationRole).value<QPixmap>().toImage();

    model.showRows(0, 1);
    ASSERT_TRUE(withinTwoSeconds([&] { return !data("b.jpg", Qt::ToolTipRole).isNull(); }));
    EXPECT_FALSE(data("b.jpg", Qt::ToolTipRole).toString().isEmpty());
    EXPECT_NE(data("b.jpg", Qt::DecorationRole).value<QPixmap>().toImage(), placeholder);
    ASSERT_TRUE(withinTwoSeconds([&] { return middle("a.png") == QColor(Qt::red); }));
    EXPECT_TRUE(data("a.png", Qt::ToolTipRole).isNull());
    // The row not shown has not been made.
    EXPECT_EQ(data("c.png", Qt::DecorationRole).value<QPixmap>().toImage(), placeholder);

    // The picture is saved again, a few seconds later as far as its time
    // says: its thumbnail follows.
    makePicture("a.png", Qt::green);
    QFile changed(dir.filePath("a.png"));
    ASSERT_TRUE(changed.open(QIODevice::ReadWrite));
    ASSERT_TRUE(changed.setFileTime(QDateTime::currentDateTime().addSecs(5),
                                    QFileDevice::FileModificationTime));
    changed.close();
    EXPECT_TRUE(withinTwoSeconds([&] { return middle("a.png") == QColor(Qt::green); }));
}

} // namespace
