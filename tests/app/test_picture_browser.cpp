// The browser's file-system rules: the picture pattern, paths, drives.
#include "app/picture_browser.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

TEST(PicturePattern, MatchesTheSixTypesWhateverTheirCase) {
    for (const char* name :
         {"photo.jpg", "PHOTO.JPG", "a.Jpeg", "b.gif", "c.BMP", "d.ico", "e.WMF", "x.y.jpg"})
        EXPECT_TRUE(browser::isPictureName(name)) << name;
    for (const char* name :
         {"photo.png", "photo.tif", "jpg", "notes.txt", "photo.jpg.bak", "photojpg", ".jpgx"})
        EXPECT_FALSE(browser::isPictureName(name)) << name;
}

TEST(PictureFiles, ListsOnlyPicturesSortedAndNotFolders) {
    QTemporaryDir dir;
    for (const char* name : {"b.JPG", "a.jpg", "c.png", "d.Gif", "readme.txt"})
        touch(dir.filePath(name));
    QDir(dir.path()).mkdir("folder.jpg");
    const auto files = browser::pictureFiles(dir.path());
    ASSERT_TRUE(files.has_value());
    EXPECT_EQ(*files, QStringList({"a.jpg", "b.JPG", "d.Gif"}));
}

TEST(PictureFiles, AMissingFolderGivesNothing) {
    EXPECT_FALSE(browser::pictureFiles("/no/such/folder/anywhere").has_value());
    EXPECT_FALSE(browser::subFolders("/no/such/folder/anywhere").has_value());
}

TEST(FullPath, NeverDoublesTheSeparator) {
    EXPECT_EQ(browser::fullPath("/", "a.jpg"), "/a.jpg");
    EXPECT_EQ(browser::fullPath("/home/anna", "a.jpg"), "/home/anna/a.jpg");
    EXPECT_EQ(browser::fullPath("/media/card/", "a.jpg"), "/media/card/a.jpg");
}

TEST(Drives, RootComesFirstAndNoPseudoFileSystems) {
    const QStringList drives = browser::drives();
    ASSERT_FALSE(drives.isEmpty());
    EXPECT_EQ(drives.first(), "/");
    for (const QString& d : drives) {
        EXPECT_FALSE(d.startsWith("/proc")) << qPrintable(d);
        EXPECT_FALSE(d.startsWith("/sys")) << qPrintable(d);
        EXPECT_FALSE(d.startsWith("/dev")) << qPrintable(d);
    }
    EXPECT_EQ(browser::driveOf("/"), "/");
}

} // namespace
