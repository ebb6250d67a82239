// Thumbnails through the cache the desktop's programs share: another
// program's are used, stale ones replaced, ours named, marked and guarded as
// the file manager expects, and files we cannot read recorded as failures.
#include "common/version.h"
#include "thumbnails/thumbnail_cache.h"
#include "thumbnails/thumbnail_maker.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ThumbnailCacheTest : public ::testing::Test {
  protected:
    QTemporaryDir pictures;
    QTemporaryDir cache;
    void SetUp() override { qputenv("XDG_CACHE_HOME", cache.path().toUtf8()); }

    // A one-colour photo made by ImageMagick.
    QString photo(const QString& name, const QString& size, const QString& colour) {
        const QString path = pictures.filePath(name);
        EXPECT_EQ(QProcess::execute("convert", {"-size", size, "xc:" + colour, path}), 0);
        return path;
    }
    static qint64 mtime(const QString& file) {
        return QFileInfo(file).lastModified().toSecsSinceEpoch();
    }
    static void setMtime(const QString& file, qint64 seconds) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QDateTime::fromSecsSinceEpoch(seconds),
                                  QFileDevice::FileModificationTime));
    }
    // The file's URI written out by hand: file:// and the path, a space and a
    // ';' escaped, a '+' as it is.
    static QByteArray uri(const QString& file) {
        return "file://" + file.toUtf8().replace(" ", "%20").replace(";", "%3B");
    }
    QString cached(const QString& folder, const QString& file) const {
        const QByteArray md5 = QCryptographicHash::hash(uri(file), QCryptographicHash::Md5);
        return cache.filePath("thumbnails/" + folder + "/" + md5.toHex() + ".png");
    }
    // A thumbnail as another program would write it.
    static void writeOthers(const QString& path, const QString& uriText, qint64 modified,
                            QColor colour) {
        QImage image(128, 96, QImage::Format_RGB32);
        image.fill(colour);
        image.setText("Thumb::URI", uriText);
        image.setText("Thumb::MTime", QString::number(modified));
        image.setText("Software", "another program");
        QFileInfo(path).dir().mkpath(".");
        ASSERT_TRUE(QImageWriter(path, "png").write(image));
    }
    // The owner's, group's and others' permissions.
    static QFile::Permissions mode(const QString& path) {
        return QFileInfo(path).permissions() & ~QFile::Permissions(0x0F00);
    }
    static QRgb middle(const QImage& image) {
        return image.pixel(image.width() / 2, image.height() / 2);
    }
};

TEST_F(ThumbnailCacheTest, AnotherProgramsThumbnailIsUsedWithoutDecoding) {
    // The picture is red, the other program's thumbnail green: green comes
    // back, for any size up to its folder's.
    const QString file = photo("a photo.jpg", "800x600", "red");
    writeOthers(cached("normal", file), uri(file), mtime(file), Qt::green);

    for (int pixels : {64, 128}) {
        const thumbnails::Thumbnail got = thumbnails::thumbnail(file, pixels);
        EXPECT_EQ(qGreen(middle(got.image)), 255) << pixels;
        EXPECT_TRUE(got.error.isEmpty());
    }
    // For a larger size the normal one is still the best cached.
    EXPECT_EQ(qGreen(middle(thumbnails::cached(file, 512))), 255);
}

TEST_F(ThumbnailCacheTest, AStaleThumbnailIsReplacedByOurs) {
    const QString file = photo("stale.jpg", "800x600", "red");
    writeOthers(cached("large", file), uri(file), mtime(file) - 60, Qt::green);

    EXPECT_TRUE(thumbnails::cached(file, 256).isNull());
    const thumbnails::Thumbnail got = thumbnails::thumbnail(file, 256);
    EXPECT_GT(qRed(middle(got.image)), 250);
    QImage ours(cached("large", file));
    EXPECT_EQ(ours.text("Thumb::MTime").toLongLong(), mtime(file));
    EXPECT_GT(qRed(middle(ours)), 250);
}

TEST_F(ThumbnailCacheTest, OursHasTheNameKeysAndModesTheFileManagerExpects) {
    const QString file = photo("a photo; 2+1.jpg", "800x600", "blue");
    const qint64 size = QFileInfo(file).size();

    const thumbnails::Thumbnail got = thumbnails::thumbnail(file, 200);
    // 200 pixels come from the large folder's 256: the longer side 256.
    EXPECT_EQ(got.image.size(), QSize(256, 192));
    const QString path = cached("large", file);
    ASSERT_TRUE(QFileInfo::exists(path));
    EXPECT_EQ(QImageReader(path).format(), "png");
    const QImage ours(path);
    EXPECT_EQ(ours.text("Thumb::URI").toUtf8(), uri(file));
    EXPECT_EQ(ours.text("Thumb::MTime").toLongLong(), mtime(file));
    EXPECT_EQ(ours.text("Thumb::Size").toLongLong(), size);
    EXPECT_EQ(ours.text("Software"), QString("Parvello ") + parvello::kVersion);
    EXPECT_EQ(ours.size(), QSize(256, 192));
    EXPECT_EQ(mode(path), QFile::ReadOwner | QFile::WriteOwner);
    const auto folderMode = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    EXPECT_EQ(mode(QFileInfo(path).path()), folderMode);
    EXPECT_EQ(mode(cache.filePath("thumbnails")), folderMode);
    // No temporary file left beside it.
    EXPECT_EQ(QDir(QFileInfo(path).path()).entryList(QDir::Files).size(), 1);

    // A smaller picture is not enlarged.
    const QString small = photo("small.png", "100x80", "blue");
    EXPECT_EQ(thumbnails::thumbnail(small, 128).image.size(), QSize(100, 80));
    EXPECT_TRUE(QFileInfo::exists(cached("normal", small)));
}

TEST_F(ThumbnailCacheTest, ADamagedFileIsRecordedAndTriedAgainOnlyOnceItChanges) {
    const QString file = pictures.filePath("damaged.jpg");
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("\xFF\xD8\xFF\xE0 not really a photo", 22));
    }
    const qint64 modified = mtime(file);

    const thumbnails::Thumbnail first = thumbnails::thumbnail(file, 128);
    EXPECT_TRUE(first.image.isNull());
    EXPECT_FALSE(first.error.isEmpty());
    const QByteArray md5 = QCryptographicHash::hash(uri(file), QCryptographicHash::Md5).toHex();
    const QString record = cache.filePath(QString("thumbnails/fail/parvello-") +
                                          parvello::kVersion + "/" + md5 + ".png");
    const QImage recorded(record);
    EXPECT_EQ(recorded.text("Thumb::URI").toUtf8(), uri(file));
    EXPECT_EQ(recorded.text("Thumb::MTime").toLongLong(), modified);

    // Made readable behind the record's back (same time): the record holds.
    ASSERT_TRUE(QFile::remove(file));
    ASSERT_EQ(QProcess::execute("convert", {"-size", "300x200", "xc:red", file}), 0);
    setMtime(file, modified);
    const thumbnails::Thumbnail again = thumbnails::thumbnail(file, 128);
    EXPECT_TRUE(again.image.isNull());
    EXPECT_EQ(again.error, first.error);

    // Once its time changes it is tried again.
    setMtime(file, modified + 10);
    const thumbnails::Thumbnail changed = thumbnails::thumbnail(file, 128);
    EXPECT_EQ(changed.image.size(), QSize(128, 85));
    EXPECT_TRUE(changed.error.isEmpty());
}

TEST_F(ThumbnailCacheTest, TheMakerReportsEveryRequestedFileOnce) {
    const QString red = photo("red.jpg", "800x600", "red");
    const QString blue = photo("blue.png", "300x400", "blue");
    const QString missing = pictures.filePath("gone.jpg");

    ThumbnailMaker maker(128);
    QSignalSpy ready(&maker, &ThumbnailMaker::ready);
    for (const QString& file : {red, blue, missing, red})
        maker.request(file);
    while (ready.size() < 3)
        ASSERT_TRUE(ready.wait(10000));
    QMap<QString, QList<QVariant>> byFile;
    for (const QList<QVariant>& signal : ready)
        byFile[signal[0].toString()] = signal;
    EXPECT_EQ(byFile[red][1].value<QImage>().size(), QSize(128, 96));
    EXPECT_EQ(byFile[blue][1].value<QImage>().size(), QSize(96, 128));
    EXPECT_TRUE(byFile[missing][1].value<QImage>().isNull());
    EXPECT_FALSE(byFile[missing][2].toString().isEmpty());

    // Asked again: nothing until it is forgotten.
    maker.request(red);
    EXPECT_FALSE(ready.wait(300));
    maker.forget(red);
    maker.request(red);
    ASSERT_TRUE(ready.wait(10000));
    EXPECT_EQ(ready.last()[0].toString(), red);
}

} // namespace
