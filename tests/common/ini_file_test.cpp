// The settings file module: private-profile reading and safe writing.
#include "common/ini_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class IniFileTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath("parvello.ini"); }
    void put(const QByteArray& bytes) {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray contents() const {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(IniFileTest, MissingFileSectionOrKeyReadsEmpty) {
    IniFile ini(path());
    EXPECT_EQ(ini.read("MAIN", "Tab"), "");
    put("[OTHER]\nTab=3\n");
    EXPECT_EQ(ini.read("MAIN", "Tab"), "");
    put("[MAIN]\nCopies=3\n");
    EXPECT_EQ(ini.read("MAIN", "Tab"), "");
}

TEST_F(IniFileTest, NamesMatchWhateverTheCaseButValuesAreKeptExactly) {
    put("[main]\ntab=3\nCopies= 2\n8x10=1 \n");
    IniFile ini(path());
    EXPECT_EQ(ini.read("MAIN", "Tab"), "3");
    EXPECT_EQ(ini.read("MAIN", "Copies"), " 2");
    EXPECT_EQ(ini.read("MAIN", "8x10"), "1 ");
}

TEST_F(IniFileTest, KeysOfOtherSectionsAreNotSeen) {
    put("[A]\nTab=1\n[MAIN]\nCopies=4\n[B]\nTab=2\n");
    IniFile ini(path());
    EXPECT_EQ(ini.read("MAIN", "Tab"), "");
    EXPECT_EQ(ini.read("MAIN", "Copies"), "4");
}

TEST_F(IniFileTest, ALongValueIsReadWhole) {
    put("[MAIN]\nDir=" + QByteArray(5000, 'x') + "\n");
    IniFile ini(path());
    EXPECT_EQ(ini.read("MAIN", "Dir"), QString(5000, 'x'));
}

TEST_F(IniFileTest, TextAfterANulIsNotPartOfTheValue) {
    put(QByteArray("[MAIN]\nTab=2\0junk\n", 18));
    EXPECT_EQ(IniFile(path()).read("MAIN", "Tab"), "2");
}

TEST_F(IniFileTest, BinaryJunkAndHugeFilesReadAsEmpty) {
    QByteArray junk;
    for (int i = 0; i < 70000; ++i)
        junk.append(char((i * 7919) & 0xff));
    put(junk);
    EXPECT_EQ(IniFile(path()).read("MAIN", "Tab"), "");
    put("[MAIN]\nTab=1\n" + QByteArray(IniFile::MaxFileSize + 10, 'a'));
    EXPECT_EQ(IniFile(path()).read("MAIN", "Tab"), "");
}

TEST_F(IniFileTest, WriteCreatesFileAndSectionAndReadsBack) {
    IniFile ini(path());
    ASSERT_TRUE(ini.write("MAIN", "Tab", "4"));
    ASSERT_TRUE(ini.write("MAIN", "Copies", "2"));
    EXPECT_EQ(contents(), "[MAIN]\nTab=4\nCopies=2\n");
    EXPECT_EQ(ini.read("MAIN", "Tab"), "4");
}

TEST_F(IniFileTest, WriteReplacesTheKeyAndKeepsEverythingElse) {
    put("; my notes\n[OTHER]\nx=1\n\n[MAIN]\nTab=1\nCopies=3\n");
    IniFile ini(path());
    ASSERT_TRUE(ini.write("MAIN", QList<IniFile::Entry>{{"TAB", "2"}, {"Dir", "/home"}}));
    EXPECT_EQ(contents(), "; my notes\n[OTHER]\nx=1\n\n[MAIN]\nTab=2\nCopies=3\nDir=/home\n");
}

TEST_F(IniFileTest, FailedWriteLeavesTheOldFile) {
    put("[MAIN]\nTab=1\n");
    // A folder standing where the temporary file would be renamed is not
    // possible to simulate portably; a path in a missing folder is.
    IniFile missing(dir.filePath("no/such/folder/parvello.ini"));
    EXPECT_FALSE(missing.write("MAIN", "Tab", "2"));
    EXPECT_FALSE(missing.errorString().isEmpty());
    EXPECT_EQ(contents(), "[MAIN]\nTab=1\n");
}

TEST_F(IniFileTest, NonAsciiFolderNamesSurviveARoundTrip) {
    IniFile ini(path());
    const QString folder =
        QString::fromUtf8("/home/anna/Bilder/Schulfotos 2026 \xc3\xa9\xe5\x86\x99");
    ASSERT_TRUE(ini.write("MAIN", "Dir", folder));
    EXPECT_EQ(ini.read("MAIN", "Dir"), folder);
}

} // namespace
