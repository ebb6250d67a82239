// The browser's file-system rules: the picture files, paths, drives.
#include "app/picture_browser.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/file_list.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

TEST(PictureFiles, ListsOnlyPicturesSortedAndNotFolders) {
    QTemporaryDir dir;
    for (const char* name : {"b.JPG", "a.jpg", "c.png", "d.Gif", "readme.txt", "e.psd"})
        touch(dir.filePath(name));
    QDir(dir.path()).mkdir("folder.jpg");
    const auto files = browser::pictureFiles(dir.path());
    ASSERT_TRUE(files.has_value());
    EXPECT_EQ(*files, QStringList({"a.jpg", "b.JPG", "c.png", "d.Gif"}));
}

TEST(PictureFiles, AMissingFolderGivesNothing) {
    EXPECT_FALSE(browser::pictureFiles("/no/such/folder/anywhere").has_value());
    EXPECT_FALSE(browser::subFolders("/no/such/folder/anywhere").has_value());
}

// Runs check as an ordinary user: root reads every folder, whatever its
// permissions. Returns the check's result.
bool asOrdinaryUser(const std::function<bool()>& check) {
    if (geteuid() != 0)
        return check();
    const pid_t child = fork();
    if (child == 0) {
        const bool ok = setgid(65534) == 0 && setuid(65534) == 0 && check();
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(PictureFiles, AFolderWithoutReadPermissionKeepsTheListsAsTheyWere) {
    QTemporaryDir dir;
    // Reachable by everyone, but the locked folder inside it is readable by nobody.
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    const QString open = dir.filePath("open"), locked = dir.filePath("locked");
    QDir().mkpath(open);
    QDir().mkpath(locked);
    touch(open + "/a.jpg");
    touch(locked + "/b.jpg");
    ::chmod(QFile::encodeName(open).constData(), 0755);
    ::chmod(QFile::encodeName(open + "/a.jpg").constData(), 0644);
    ::chmod(QFile::encodeName(locked).constData(), 0);
    EXPECT_TRUE(asOrdinaryUser([&] {
        if (browser::pictureFiles(locked).has_value() || browser::subFolders(locked).has_value())
            return false;
        FileList files;
        if (!files.setPath(open) || files.setPath(locked))
            return false;
        return files.path() == open && files.names() == QStringList{"a.jpg"};
    }));
    ::chmod(QFile::encodeName(locked).constData(), 0700);
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
