// A picture that cannot be shown is named to the user with the reason, and
// the positions keep what they showed.
#include "app/load_errors.h"

#include "pictures/package_pictures.h"
#include "support/fake_prompt.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(LoadErrors, ADamagedOrUnsupportedFileIsNamedWithTheReason) {
    QTemporaryDir dir;
    // A JPEG cut short inside its header, and a text file named as a PNG.
    const QString coffee = dir.filePath("coffee.jpg"), notes = dir.filePath("notes.png");
    ASSERT_EQ(
        QProcess::execute("convert-im6.q16", {"-size", "320x240", "gradient:red-blue", coffee}), 0);
    QFile cut(coffee);
    ASSERT_TRUE(cut.resize(200));
    QFile text(notes);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("a shopping list, not a picture\n");
    text.close();

    PackagePictures pictures;
    QImage shown(40, 30, QImage::Format_RGB32);
    shown.fill(Qt::red);
    pictures.set(0, shown, "red.jpg");
    FakePrompt prompt;
    tellLoadErrors(pictures, prompt);
    const std::pair<QString, QString> cases[] = {
        {coffee, "coffee.jpg could not be read: the file ends too soon."},
        {notes, "notes.png could not be read: the file is damaged."}};
    for (const auto& [file, told] : cases) {
        prompt.told.clear();
        pictures.load(file, {0});
        EXPECT_EQ(prompt.lastMessage(), told);
        EXPECT_EQ(pictures.name(0), "red.jpg");
        EXPECT_EQ(pictures.picture(0).pixelColor(20, 15), QColor(Qt::red));
    }
}
