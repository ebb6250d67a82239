#include "support/test_pictures.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <cstdlib>

namespace testpictures {

QRgb richPixel(int x, int y) {
    return qRgb((4 * x) % 256, (5 * y) % 256, (2 * (x + y)) % 256);
}

QImage richPicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, richPixel(x, y));
    return image;
}

QRgb fewColourPixel(int x, int y, int colours) {
    const int k = (x + 7 * y) % colours;
    return qRgb(k, 255 - k, (3 * k) % 256);
}

QImage fewColourPicture(int width, int height, int colours) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, fewColourPixel(x, y, colours));
    return image;
}

QImage readWithQt(const QString& path, QByteArray* format) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    if (format)
        *format = reader.format();
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

int jpegQuality(const QString& path) {
    bool ok = false;
    const int q = run("identify-im6.q16", {"-format", "%Q", path}).toInt(&ok);
    return ok ? q : -1;
}

int maxChannelDifference(const QImage& a, const QImage& b) {
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    return worst;
}

double meanChannelDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

QString unwritableFolder() {
    static QTemporaryDir dir;
    const QString locked = dir.path() + "/locked";
    QDir().mkpath(locked);
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QFile probe(locked + "/probe");
    if (!probe.open(QIODevice::WriteOnly))
        return locked;
    // Root writes anywhere in its own folders; sysfs refuses new files to everyone.
    probe.remove();
    return "/sys";
}

void whenShown(const QString& objectName, std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, objectName, act] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() == objectName && w->isVisible()) {
                timer->stop();
                timer->deleteLater();
                act(w);
                return;
            }
        }
    });
    timer->start();
}

void setScanSettings(QWidget* window, double dpi, const QRectF& area) {
    auto* resolution = window->findChild<QComboBox*>("resolution");
    resolution->setCurrentIndex(resolution->findData(dpi));
    const double values[] = {area.left(), area.top(), area.width(), area.height()};
    const char* names[] = {"areaLeft", "areaTop", "areaWidth", "areaHeight"};
    for (int i = 0; i < 4; ++i)
        window->findChild<QDoubleSpinBox*>(names[i])->setValue(values[i]);
}

void press(QWidget* window, const char* button) {
    QTest::mouseClick(window->findChild<QPushButton*>(button), Qt::LeftButton);
}

void scanWhenShown(double dpi, const QRectF& area) {
    whenShown("scanSettings", [dpi, area](QWidget* window) {
        setScanSettings(window, dpi, area);
        press(window, "Scan");
    });
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

} // namespace testpictures
