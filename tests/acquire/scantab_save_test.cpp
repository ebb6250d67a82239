// The "Save" button: dialog answer, overwrite question, the writer of the
// name's format, and the messages the user sees.
#include "acquire/scantab.h"
#include "common/paths.h"
#include "support/fake_prompt.h"
#include "support/test_pictures.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace acquire;
using namespace testpictures;

namespace {

const QString saved = "Sucessfully saved file.";
const QString failed = "Unable to save file.";
const QString question = " This picture already exists. Overwrite old picture with new one?";

SaveNameChooser choose(const QString& name) {
    return [name](QWidget*) { return std::optional<QString>(name); };
}

} // namespace

class SaveButton : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    const QImage picture = richPicture(40, 30);

    FakePrompt popup;

    // Each case starts with nothing said.
    void SetUp() override {
        popup.told.clear();
        popup.asked.clear();
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    // The last thing said, once something has been; empty when nothing is.
    QString message() { return popup.lastMessage(300); }
    // Clicks "Yes" or "No" once the question is up.
    void answerWith(bool yes) { popup.answers = yes; }
};

TEST_F(SaveButton, CancellingTheDialogEndsSaveWithoutAMessage) {
    saveScan(popup, nullptr, picture, [](QWidget*) { return std::optional<QString>(); });
    EXPECT_EQ(message(), "");
}

TEST_F(SaveButton, BmpGoesThroughOurOwnBitmapWriter) {
    saveScan(popup, nullptr, picture, choose(path("SCAN.BMP")));
    EXPECT_EQ(message(), saved);
    EXPECT_TRUE(popup.asked.isEmpty());
    const QByteArray b = fileBytes(path("SCAN.BMP"));
    ASSERT_GT(b.size(), 54);
    EXPECT_EQ(b.left(2), QByteArray("BM"));
    EXPECT_EQ(qFromLittleEndian<quint16>(b.constData() + 28), 24); // our writer's depth
    EXPECT_EQ(b.size(), 54 + 120 * 30);                            // 40 x 3 bytes a row, no padding
    QByteArray format;
    EXPECT_EQ(maxChannelDifference(readWithQt(path("SCAN.BMP"), &format), picture), 0);
    EXPECT_EQ(format, "bmp");
}

TEST_F(SaveButton, EveryOfferedFormatIsWritten) {
    const struct {
        const char* name;
        const char* format;
    } cases[] = {{"s.GIF", "gif"}, {"s.JPG", "jpeg"}, {"s.PNG", "png"}, {"s.TIF", "tiff"}};
    for (const auto& c : cases) {
        SetUp();
        saveScan(popup, nullptr, picture, choose(path(c.name)));
        EXPECT_EQ(message(), saved) << c.name;
        QByteArray format;
        const QImage back = readWithQt(path(c.name), &format);
        EXPECT_EQ(format, c.format) << c.name;
        EXPECT_EQ(back.size(), picture.size()) << c.name;
    }
    EXPECT_NEAR(jpegQuality(path("s.JPG")), 85, 1);
}

TEST_F(SaveButton, NamesWithoutAUsableExtensionAreNotSaved) {
    QDir(dir.path()).mkdir("my.scans");
    for (const QString& name : {path("scan"), path("scan.doc"), path("my.scans/scan")}) {
        SetUp();
        saveScan(popup, nullptr, picture, choose(name));
        EXPECT_EQ(message(), failed) << name.toStdString();
        EXPECT_FALSE(QFile::exists(name));
    }
}

TEST_F(SaveButton, NoScannedPictureIsNotSaved) {
    for (const char* name : {"none.BMP", "none.png"}) {
        SetUp();
        saveScan(popup, nullptr, QImage(), choose(path(name)));
        EXPECT_EQ(message(), failed) << name;
        EXPECT_FALSE(QFile::exists(path(name))) << name;
    }
}

TEST_F(SaveButton, AnUnwritableFolderIsReported) {
    for (const char* name : {"/x.png", "/x.BMP"}) {
        SetUp();
        saveScan(popup, nullptr, picture, choose(unwritableFolder() + name));
        EXPECT_EQ(message(), failed) << name;
    }
}

TEST_F(SaveButton, AnsweringYesReplacesTheExistingPicture) {
    const QString target = path("old.png");
    writeBytes(target, "old bytes");
    answerWith(true);
    saveScan(popup, nullptr, picture, choose(target));
    EXPECT_EQ(message(), saved);
    EXPECT_EQ(maxChannelDifference(readWithQt(target), picture), 0);
}

TEST_F(SaveButton, AnsweringYesReplacesAnExistingBitmapWithOurWriter) {
    const QString target = path("old.BMP");
    writeBytes(target, "old bytes");
    answerWith(true);
    saveScan(popup, nullptr, picture, choose(target));
    EXPECT_EQ(message(), saved);
    EXPECT_EQ(fileBytes(target).size(), 54 + 120 * 30);
}

TEST_F(SaveButton, AnsweringNoLeavesTheOldFileAndSaysNothingMore) {
    for (const char* name : {"keep.png", "keep.BMP"}) {
        SetUp();
        const QString target = path(name);
        writeBytes(target, "old bytes, byte for byte");
        answerWith(false);
        saveScan(popup, nullptr, picture, choose(target));
        EXPECT_EQ(popup.asked, QStringList{question}) << name;
        QTest::qWait(50);
        EXPECT_TRUE(popup.told.isEmpty()) << name;
        EXPECT_EQ(fileBytes(target), QByteArray("old bytes, byte for byte")) << name;
    }
}

TEST_F(SaveButton, AFolderOfTheChosenNameIsNotOverwritten) {
    QDir(dir.path()).mkdir("folder.png");
    saveScan(popup, nullptr, picture, choose(path("folder.png")));
    EXPECT_EQ(message(), failed);
    EXPECT_TRUE(QFileInfo(path("folder.png")).isDir());
}

TEST_F(SaveButton, TheDialogOffersTheFiveFormatsAndLeavesTheOverwriteQuestionToThePopup) {
    const QString existing = path("there.png");
    writeBytes(existing, "x");
    QStringList filters;
    whenShown("saveDialog", [&](QWidget* window) {
        auto* dialog = qobject_cast<QFileDialog*>(window);
        filters = dialog->nameFilters();
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        name->setText(existing); // typed: see below why not selectFile()
        QTest::keyClick(name, Qt::Key_Return);
    });
    EXPECT_EQ(chooseSaveName(nullptr), std::optional<QString>(existing));
    EXPECT_EQ(filters, QStringList({"BMP (*.BMP)", "GIF (*.GIF)", "JPG (*.JPG)", "PNG (*.PNG)",
                                    "TIF (*.TIF)"}));

    whenShown("saveDialog", [](QWidget* window) { qobject_cast<QFileDialog*>(window)->reject(); });
    EXPECT_EQ(chooseSaveName(nullptr), std::nullopt);
}

TEST_F(SaveButton, ATypedNameWithoutExtensionIsSavedAsTheChosenType) {
    // Typed as a new user would: a name, the type left as offered, Enter.
    QString startFolder, startType;
    whenShown("saveDialog", [&](QWidget* window) {
        auto* dialog = qobject_cast<QFileDialog*>(window);
        startFolder = dialog->directory().absolutePath();
        startType = dialog->selectedNameFilter();
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        name->setText(path("scan1")); // typed whole: no completion list in the way
        QTest::keyClick(name, Qt::Key_Return);
    });
    saveScan(popup, nullptr, picture);
    EXPECT_EQ(startFolder, QDir(paths::picturesDir()).absolutePath());
    EXPECT_EQ(startType, "BMP (*.BMP)");
    EXPECT_EQ(message(), saved);
    EXPECT_EQ(fileBytes(path("scan1.bmp")).left(2), QByteArray("BM"));

    // The type used last is offered first next time, also after a restart:
    // the settings file keeps it, beside the main window's keys.
    const QString settings = path("parvello.ini");
    writeBytes(settings, "[MAIN]\nTab=2\n");
    whenShown("saveDialog", [&](QWidget* window) {
        auto* dialog = qobject_cast<QFileDialog*>(window);
        dialog->selectNameFilter("PNG (*.PNG)");
        // Typed, as above: selectFile() moves the dialog to the folder while its
        // model loads, and an accept() in between finds no name and stays open.
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        name->setText(path("scan2"));
        QTest::keyClick(name, Qt::Key_Return);
    });
    EXPECT_EQ(chooseSaveName(nullptr, settings), std::optional<QString>(path("scan2.png")));
    auto firstTypeOffered = [&](const QString& settingsFile) {
        whenShown("saveDialog", [&](QWidget* window) {
            startType = qobject_cast<QFileDialog*>(window)->selectedNameFilter();
            qobject_cast<QFileDialog*>(window)->reject();
        });
        chooseSaveName(nullptr, settingsFile);
        return startType;
    };
    EXPECT_EQ(firstTypeOffered(settings), "PNG (*.PNG)");
    EXPECT_EQ(firstTypeOffered(path("someone-else.ini")), "BMP (*.BMP)");
    EXPECT_TRUE(fileBytes(settings).startsWith("[MAIN]\nTab=2\n"));
}

TEST(FileExistsCheck, FilesCountFoldersDoNot) {
    QTemporaryDir dir;
    writeBytes(dir.filePath("a.png"), "x");
    EXPECT_TRUE(FileExists(dir.filePath("a.png")));
    EXPECT_FALSE(FileExists(dir.filePath("b.png")));
    EXPECT_FALSE(FileExists(dir.path()));
}
