// The command-line tool: its refusals and the sheets it writes as PDFs.
#include "pdf_probe.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Outcome {
    int exitCode;
    QString out;
    QString err;
};

class Tool : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QImage pic(400, 300, QImage::Format_RGB32);
        pic.fill(qRgb(200, 30, 30));
        ASSERT_TRUE(pic.save(dir.filePath("red.png")));
        pic.fill(qRgb(30, 30, 200));
        ASSERT_TRUE(pic.save(dir.filePath("blue.png")));
        QFile junk(dir.filePath("junk.jpg"));
        ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
        junk.write("not a picture at all");
    }

    Outcome run(const QStringList& args) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        // No scheduler: nothing is printed by accident.
        env.insert("CUPS_SERVER", dir.filePath("no-cups.sock"));
        env.insert("HOME", dir.path());
        p.setProcessEnvironment(env);
        p.start(PARVELLO_PRINT_TOOL, args);
        p.waitForFinished(60000);
        return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardOutput()),
                QString::fromLocal8Bit(p.readAllStandardError())};
    }

    QStringList pdfs(const QString& sub) {
        QDir d(dir.filePath(sub));
        QStringList files;
        for (const QString& f : d.entryList({"*.pdf"}, QDir::Files, QDir::Name))
            files << d.filePath(f);
        return files;
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(Tool, RefusesBadRequestsClearly) {
    const QString red = dir.filePath("red.png");
    Outcome r = run({"--pdf", dir.filePath("out"), "6x9", red});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains("unknown package")) << r.err.toStdString();
    r = run({"--pdf", dir.filePath("out"), "5x7", red, red, red});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains("one picture or 2")) << r.err.toStdString();
    for (const char* n : {"0", "6", "two"}) {
        r = run({"--copies", n, "--pdf", dir.filePath("out"), "8x10", red});
        EXPECT_NE(r.exitCode, 0) << n;
        EXPECT_TRUE(r.err.contains("1 to 5")) << r.err.toStdString();
    }
    r = run({"--pdf", dir.filePath("out"), "8x10", dir.filePath("junk.jpg")});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains("cannot read picture")) << r.err.toStdString();
    r = run({"--pdf", dir.filePath("out"), "8x10", dir.filePath("missing.png")});
    EXPECT_NE(r.exitCode, 0);
    r = run({"--pdf", dir.filePath("out"), "--single", "9x12", red});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains("unknown size")) << r.err.toStdString();
    r = run({"--pdf", dir.filePath("out"), "--fill", "squash", "8x10", red});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains("stretch, crop or fit")) << r.err.toStdString();
    // Nothing was written by any of them.
    EXPECT_TRUE(pdfs("out").isEmpty());
}

TEST_F(Tool, OnePdfPerSheetWithPicturesInLayoutOrder) {
    Outcome r = run({"--copies", "2", "--pdf", dir.filePath("out"), "5x7", dir.filePath("red.png"),
                     dir.filePath("blue.png")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList files = pdfs("out");
    ASSERT_EQ(files.size(), 2);
    EXPECT_TRUE(r.out.contains("sheet 2:"));
    for (const QString& f : files) {
        EXPECT_EQ(testpdf::pageCount(f), 1);
        const QImage page = testpdf::render(f, 60);
        // Red on top (Image2), blue below (Image3), from the page's corner.
        const QRect red = testpdf::findColour(page, qRgb(200, 30, 30));
        const QRect blue = testpdf::findColour(page, qRgb(30, 30, 200));
        EXPECT_NEAR(red.left(), 0, 1);
        EXPECT_NEAR(red.top(), 0, 1);
        EXPECT_NEAR(red.width(), 7 * 60, 2);
        EXPECT_NEAR(blue.top(), 7205 / 24.0, 1.5);
        EXPECT_NEAR(blue.height(), 5 * 60, 2);
    }
}

TEST_F(Tool, SingleLandscapePicture) {
    Outcome r = run(
        {"--pdf", dir.filePath("one"), "--single", "5x7", "--landscape", dir.filePath("blue.png")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList files = pdfs("one");
    ASSERT_EQ(files.size(), 1);
    const QSizeF page = testpdf::pageSize(files[0]);
    EXPECT_GT(page.width(), page.height());
    const QRect blue = testpdf::findColour(testpdf::render(files[0], 60), qRgb(30, 30, 200));
    EXPECT_NEAR(blue.width(), 7 * 60, 2);
    EXPECT_NEAR(blue.height(), 5 * 60, 2);
}

TEST_F(Tool, FitKeepsTheWholePictureAndTurnsItWhenThatPrintsItLarger) {
    // 400 x 300 in the 8 x 10 print: 8 x 6 inches, 2 inches from the top;
    // turned, 7.5 x 10 inches, a quarter inch from the left.
    const QString red = dir.filePath("red.png");
    Outcome r = run({"--pdf", dir.filePath("fit"), "--fill", "fit", "--no-turn", "8x10", red});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = run({"--pdf", dir.filePath("turned"), "--fill", "fit", "8x10", red});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    ASSERT_EQ(pdfs("fit").size(), 1);
    ASSERT_EQ(pdfs("turned").size(), 1);
    const QRect fit = testpdf::findColour(testpdf::render(pdfs("fit")[0], 60), qRgb(200, 30, 30));
    EXPECT_NEAR(fit.left(), 0, 1);
    EXPECT_NEAR(fit.top(), 120, 1);
    EXPECT_NEAR(fit.width(), 480, 2);
    EXPECT_NEAR(fit.height(), 360, 2);
    const QRect turned =
        testpdf::findColour(testpdf::render(pdfs("turned")[0], 60), qRgb(200, 30, 30));
    EXPECT_NEAR(turned.left(), 15, 1);
    EXPECT_NEAR(turned.top(), 0, 1);
    EXPECT_NEAR(turned.width(), 450, 2);
    EXPECT_NEAR(turned.height(), 600, 2);
}

// A scheduler that does not answer is said as such; nothing turns into a
// PDF unasked.
TEST_F(Tool, WithoutSchedulerPrintsNothingAndSaysWhy) {
    Outcome r = run({"2.5x3.25", dir.filePath("red.png")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("Unable to print! The printing system cannot be reached."))
        << r.err.toStdString();
    EXPECT_TRUE(pdfs("Documents/Parvello Prints").isEmpty());
}
