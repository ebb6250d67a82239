// "Save" on a full disk: every encoder reports the failure and the picture
// saved there before is kept, never replaced by a cut-off file.
#include "acquire/gdiplus.h"
#include "disk_full.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(DiskFullSave, EveryEncoderFailsAndKeepsTheOldFile) {
    QTemporaryDir dir;
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(QColor(200, 40, 90));
    acquire::cGdiPlus saver;
    for (const char* name : {"a.BMP", "a.jpg", "a.png", "a.gif", "a.tif"}) {
        const QString path = dir.filePath(name);
        if (saver.EncoderIndex("*." + acquire::cGdiPlus::FileExtension(path)) < 0)
            continue; // no TIFF writer installed
        ASSERT_TRUE(saver.PictureBoxToFile(picture, path, 80)) << name;
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray before = f.readAll();
        f.close();
        bool saved = true;
        {
            DiskFull full;
            saved = saver.PictureBoxToFile(picture, path, 80);
        }
        EXPECT_FALSE(saved) << name;
        EXPECT_FALSE(saver.lastErrorDetail().isEmpty()) << name;
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), before) << name;
        // Nothing half-written is left beside it.
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(),
                  QDir(dir.path()).entryList(QDir::Files).size());
    }
}
