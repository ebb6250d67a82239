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

// Lines as the kernel writes them in /proc/self/mountinfo.
const QByteArray kMounts = "22 27 0:21 / /proc rw,relatime - proc proc rw\n"
                           "27 1 8:2 / / rw,relatime - ext4 /dev/sda2 rw\n"
                           "30 27 8:3 / /home rw,relatime - ext4 /dev/sda3 rw\n"
                           "31 27 0:25 / /run/user/1000 rw - tmpfs tmpfs rw\n"
                           "40 27 8:17 / /media/anna/Holiday\\0402024 rw - vfat /dev/sdz1 rw\n"
                           "41 27 8:33 / /run/media/anna/CAMERA rw - exfat /dev/sdz2 rw\n"
                           "42 27 8:49 / /mnt/backup rw - ext4 /dev/sdz3 rw\n";

TEST(Drives, ThePlacesPeopleKnowThenTheCardsByName) {
    const QList<browser::Drive> drives =
        browser::drives(kMounts, "/home/anna", "/home/anna/Pictures");
    QStringList captions, folders;
    for (const browser::Drive& d : drives) {
        captions << d.caption;
        folders << d.folder;
    }
    EXPECT_EQ(captions,
              QStringList({"Computer", "Home", "Pictures", "backup", "CAMERA", "Holiday 2024"}));
    EXPECT_EQ(folders, QStringList({"/", "/home/anna", "/home/anna/Pictures", "/mnt/backup",
                                    "/run/media/anna/CAMERA", "/media/anna/Holiday 2024"}));
    // Pictures inside Home, a card inside Computer: the closer one.
    EXPECT_EQ(browser::driveOf("/home/anna/Pictures/2024", drives), "/home/anna/Pictures");
    EXPECT_EQ(browser::driveOf("/home/anna/Picturesque", drives), "/home/anna");
    EXPECT_EQ(browser::driveOf("/media/anna/Holiday 2024/DCIM", drives),
              "/media/anna/Holiday 2024");
    EXPECT_EQ(browser::driveOf("/etc", drives), "/");
}

TEST(Drives, WithoutAPicturesFolderHomeServesForBoth) {
    const QList<browser::Drive> drives = browser::drives({}, "/home/anna", "/home/anna");
    ASSERT_EQ(drives.size(), 2);
    EXPECT_EQ(drives[1].caption, "Home");
}

} // namespace
