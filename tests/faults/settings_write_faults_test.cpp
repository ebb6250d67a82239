// The settings file under faults: the writing process killed at every system
// call it makes, a disk that takes no more bytes, and a config folder the
// program may not write. The file on disk is always the old one or the new
// one, the program keeps running, and a failed save is in the log.
#include "app/app_fixture.h"
#include "disk_full.h"
#include "message_log.h"

#include "app/file_list.h"
#include "app/preview_image.h"
#include "common/ini_file.h"

#include <QFileInfo>
#include <QTabWidget>
#include <QTest>

#include <csignal>
#include <linux/capability.h>
#include <sys/ptrace.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QByteArray oldSettings = "; written by hand\n[OTHER]\nKey=kept\n\n[MAIN]\nDrive=/\n"
                               "Dir=/old/folder\nTab=1\nCopies=2\n";

const QList<IniFile::Entry> newEntries = {
    {"Drive", "/"},     {"Dir", "/new/folder with a longer name"},
    {"Tab", "3"},       {"Check8x10", "1"},
    {"Check5x7", "0"},  {"Check4x6", "1"},
    {"Check35x5", "0"}, {"Check25x325", "1"},
    {"Copies", "5"},
};

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// How a traced writer ended.
enum class WriterEnd { Killed, Finished, FinishedWithError, NoTracing };

WriterEnd WexitOk(int status) {
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? WriterEnd::Finished
                                                         : WriterEnd::FinishedWithError;
}

// Forks a writer that stops itself under ptrace, lets it make `steps` system
// call stops (each entry and each exit counts) and kills it there. Finished
// when it completed its write first.
WriterEnd writeKilledAfter(const QString& path, int steps) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0)
            _exit(77);
        raise(SIGSTOP);
        IniFile ini(path);
        _exit(ini.write("MAIN", newEntries) ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status))
        return WriterEnd::NoTracing;
    for (int i = 0; i < steps; ++i) {
        if (ptrace(PTRACE_SYSCALL, pid, nullptr, nullptr) != 0)
            break;
        waitpid(pid, &status, 0);
        if (WIFEXITED(status) || WIFSIGNALED(status))
            return WexitOk(status);
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return WriterEnd::Killed;
}

// The calling thread without the capabilities that let root write anywhere,
// so that folder permissions hold for the test even when it runs as root.
class WithoutOverride {
  public:
    WithoutOverride() {
        header.version = _LINUX_CAPABILITY_VERSION_3;
        header.pid = 0;
        if (syscall(SYS_capget, &header, saved) != 0)
            return;
        __user_cap_data_struct reduced[2] = {saved[0], saved[1]};
        reduced[0].effective &=
            ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER));
        active = syscall(SYS_capset, &header, reduced) == 0;
    }
    ~WithoutOverride() {
        if (active)
            syscall(SYS_capset, &header, saved);
    }
    bool active = false;

  private:
    __user_cap_header_struct header{};
    __user_cap_data_struct saved[2]{};
};

} // namespace

class SettingsWriteFaults : public AppFixture {};

TEST_F(SettingsWriteFaults, KilledAtEveryStepLeavesTheOldFileOrTheNewOne) {
    // The file a complete write makes.
    writeIni(oldSettings);
    IniFile reference(iniPath());
    ASSERT_TRUE(reference.write("MAIN", newEntries));
    const QByteArray newSettings = fileBytes(iniPath());
    ASSERT_TRUE(newSettings.contains("Dir=/new/folder with a longer name\n"));
    ASSERT_TRUE(newSettings.contains("[OTHER]\nKey=kept\n"));

    int steps = 0;
    int sawOld = 0, sawNew = 0;
    for (;; ++steps) {
        ASSERT_LT(steps, 5000) << "the write never finished";
        // A killed writer leaves its temporary file behind; every forked writer
        // draws the same temporary names, so they go before the next one.
        for (const QString& left : QDir(dir.path()).entryList({"parvello.ini.*"}, QDir::Files))
            QFile::remove(dir.filePath(left));
        writeIni(oldSettings);
        const WriterEnd run = writeKilledAfter(iniPath(), steps);
        if (run == WriterEnd::NoTracing)
            GTEST_SKIP() << "ptrace is not allowed here";
        const QByteArray now = fileBytes(iniPath());
        ASSERT_TRUE(now == oldSettings || now == newSettings)
            << "killed after " << steps << " steps, the file holds:\n"
            << now.toStdString();
        (now == oldSettings ? sawOld : sawNew)++;
        ASSERT_NE(run, WriterEnd::FinishedWithError) << "after " << steps << " steps";
        if (run == WriterEnd::Finished)
            break;
    }
    // The write is a real sequence of calls, and the last kills came after
    // the new file was in place.
    EXPECT_GT(steps, 10);
    EXPECT_GT(sawOld, 0);
    EXPECT_GT(sawNew, 0);
    EXPECT_EQ(fileBytes(iniPath()), newSettings);
}

TEST_F(SettingsWriteFaults, FullDiskKeepsTheOldSettingsAndSaysSo) {
    makePicture("red.jpg", Qt::red);
    writeIniAtPictures("Tab=0\nCopies=2\n");
    const QByteArray before = fileBytes(iniPath());
    auto w = open();
    w->show();
    w->findChild<QTabWidget*>()->setCurrentIndex(2);

    MessageLog log;
    {
        DiskFull full;
        w->close();
    }
    EXPECT_EQ(fileBytes(iniPath()), before);
    EXPECT_TRUE(log.contains("settings not saved to " + iniPath()))
        << log.all().join('\n').toStdString();
}

TEST_F(SettingsWriteFaults, ReadOnlyConfigFolderStartsRunsAndSaysSo) {
    makePicture("red.jpg", Qt::red);
    writeIniAtPictures("Tab=0\n");
    const QByteArray before = fileBytes(iniPath());
    const QString folder = QFileInfo(iniPath()).absolutePath();
    ASSERT_EQ(chmod(QFile::encodeName(folder).constData(), 0555), 0);

    MessageLog log;
    {
        WithoutOverride asUser;
        if (geteuid() == 0 && !asUser.active) {
            chmod(QFile::encodeName(folder).constData(), 0755);
            GTEST_SKIP() << "running as root without the right to drop capabilities";
        }
        // Starts with the stored settings and works as usual.
        auto w = open();
        w->show();
        w->fileSelect()->clearSelection();
        ASSERT_TRUE(w->fileSelect()->selectFile("red.jpg"));
        w->fileSelect_Click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !w->pictures().isLoading(); }));
        EXPECT_FALSE(w->pictures().picture(0).isNull());
        w->close();
    }
    chmod(QFile::encodeName(folder).constData(), 0755);
    EXPECT_EQ(fileBytes(iniPath()), before);
    EXPECT_TRUE(log.contains("settings not saved to " + iniPath()))
        << log.all().join('\n').toStdString();
    // Nothing half-written was left beside it.
    EXPECT_EQ(QDir(folder).entryList({"parvello.ini*"}, QDir::Files | QDir::Hidden),
              QStringList{"parvello.ini"});
}
