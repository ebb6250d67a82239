// A picture deleted (or replaced by junk) after the file list showed it and
// before the click loads it: the previews keep what they had, and the user is
// told which file could not be read.
#include "app/app_fixture.h"
#include "support/popup_answers.h"

#include "app/file_list.h"
#include "app/preview_image.h"
#include "pictures/picture_loader.h"

namespace {

class PictureGone : public AppFixture {
  protected:
    std::unique_ptr<frmcovercreator> w;
    void SetUp() override {
        makePicture("red.jpg", Qt::red);
        makePicture("green.jpg", Qt::green);
        writeIniAtPictures("Tab=0\n");
        w = open();
        w->show();
    }
    void clickFile(const QString& name) {
        testpopup::dismiss(w->popup());
        w->fileSelect()->clearSelection();
        ASSERT_TRUE(w->fileSelect()->selectFile(name)) << qPrintable(name);
        w->fileSelect_Click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !w->pictures().isLoading(); }, 30000));
    }
    QString told() const { return testpopup::lastMessage(w->popup()); }
    QColor centreOf(int image) const {
        const QImage& p = w->pictures().picture(image - 1);
        return p.isNull() ? QColor() : p.pixelColor(p.width() / 2, p.height() / 2);
    }
};

} // namespace

TEST_F(PictureGone, DeletedBeforeTheClickKeepsThePreviewsAndSaysSo) {
    clickFile("red.jpg");
    ASSERT_GT(centreOf(1).red(), 200);
    const QString green = QDir(pictures()).filePath("green.jpg");
    ASSERT_TRUE(QFile::remove(green));

    clickFile("green.jpg"); // still listed: the list has not been refreshed
    EXPECT_GT(centreOf(1).red(), 200);
    EXPECT_LT(centreOf(1).green(), 100);
    EXPECT_TRUE(told().startsWith("green.jpg could not be read: ")) << qPrintable(told());

    // The loader itself says why, in the user's words.
    const LoadedPicture gone = pictureloader::load(green);
    EXPECT_FALSE(gone.ok());
    EXPECT_EQ(gone.error, "the file cannot be opened: no such file or directory");
}

TEST_F(PictureGone, ReplacedByAnEmptyFileOrJunkKeepsThePreviews) {
    clickFile("red.jpg");
    const QString green = QDir(pictures()).filePath("green.jpg");
    for (const QByteArray& content : {QByteArray(), QByteArray("\xff\xd8\xff\xe0 cut short", 14)}) {
        QFile f(green);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
        f.close();
        clickFile("green.jpg");
        EXPECT_GT(centreOf(1).red(), 200);
        EXPECT_TRUE(told().startsWith("green.jpg could not be read: ")) << qPrintable(told());
    }
}

TEST_F(PictureGone, WmfDeletedOrCutShortIsRefused) {
    const QString drawing = QDir(pictures()).filePath("gone.wmf");
    EXPECT_FALSE(pictureloader::load(drawing).ok());
    // A drawing whose records claim more than the file holds.
    QByteArray bytes(18, '\0');
    bytes[0] = 1;
    bytes[2] = 9;
    bytes[5] = 3;
    bytes += QByteArray::fromHex("ffffff0f0b02000000000300000000");
    QFile f(drawing);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    const LoadedPicture cut = pictureloader::load(drawing);
    EXPECT_FALSE(cut.ok());
    EXPECT_EQ(cut.error, "the file is damaged");
}

TEST_F(PictureGone, AReaderThatSucceedsWithoutAPictureIsAnError) {
    // An MNG stream under a .jpg name: the reader reports success and gives
    // no picture. The click must say so, not pass on an empty picture.
    const QByteArray mng = QByteArray::fromBase64(
        "ik1ORw0KGgoAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA"
        "AAAAAAAAAAAE183GmgAAAAAAAAAAAAAAAAAAAACxUgEACQAAAxsAAAACAAgAAAAAAAUAAAAAAgAIAAAFAAAAFAIA"
        "AAAABQAAABMCZABkAAMAAAAAAA==");
    const QString path = QDir(pictures()).filePath("movie.jpg");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(mng);
    f.close();
    const LoadedPicture loaded = pictureloader::load(path);
    EXPECT_FALSE(loaded.ok());
    EXPECT_EQ(loaded.error, "the file is damaged");
}
