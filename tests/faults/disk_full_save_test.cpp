// "Save" on a full disk: every writer reports the failure and the picture
// saved there before is kept, never replaced by a cut-off file.
#include "disk_full.h"
#include "pictures/save_picture.h"

#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(DiskFullSave, EveryWriterFailsAndKeepsTheOldFile) {
    QTemporaryDir dir;
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(QColor(200, 40, 90));
    for (const char* name : {"a.BMP", "a.bmp", "a.jpg", "a.png", "a.gif", "a.tif"}) {
        const QString path = dir.filePath(name);
        const pictures::PictureFormat& format = *pictures::formatOf(path);
        if (format.qtWriter == "tiff" && !QImageWriter::supportedImageFormats().contains("tiff"))
            continue; // no TIFF writer installed
        ASSERT_TRUE(pictures::savePicture(picture, path, format, 80).ok()) << name;
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray before = f.readAll();
        f.close();
        pictures::WriteResult saved;
        {
            DiskFull full;
            saved = pictures::savePicture(picture, path, format, 80);
        }
        EXPECT_FALSE(saved.ok()) << name;
        EXPECT_FALSE(saved.detail.isEmpty()) << name;
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), before) << name;
        // Nothing half-written is left beside it.
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(),
                  QDir(dir.path()).entryList(QDir::Files).size());
    }
}
