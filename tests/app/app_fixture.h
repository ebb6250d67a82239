#pragma once
// A main window over a private settings file and a folder of test pictures.

#include "app/frmcovercreator.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

class AppFixture : public ::testing::Test {
  protected:
    QTemporaryDir dir;

    QString iniPath() const { return dir.filePath("parvello.ini"); }
    QString pictures() const {
        QDir().mkpath(dir.filePath("pictures"));
        return dir.filePath("pictures");
    }

    void writeIni(const QByteArray& text) {
        QFile f(iniPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    // A settings file that opens the picture folder, with extra lines.
    void writeIniAtPictures(const QByteArray& extra) {
        writeIni("[MAIN]\nDrive=/\nDir=" + pictures().toUtf8() + "\n" + extra);
    }

    // A one-colour picture file.
    QString makePicture(const QString& name, QColor colour, int w = 64, int h = 48,
                        const char* format = nullptr) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = QDir(pictures()).filePath(name);
        EXPECT_TRUE(image.save(path, format));
        return path;
    }

    std::unique_ptr<frmcovercreator> open() { return std::make_unique<frmcovercreator>(iniPath()); }
};
