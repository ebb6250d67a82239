#pragma once
// Pictures, independent readers and dialog helpers shared by the picture-file,
// saving and scanning tests.

#include <QImage>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace testpictures {

// A picture with a different colour in almost every pixel:
// red = 4x, green = 5y, blue = 2(x + y) (all modulo 256).
QImage richPicture(int width, int height);
QRgb richPixel(int x, int y);

// A picture of exactly `colours` colours (<= 256): colour k = (k, 255 - k, 3k mod 256),
// pixel (x, y) has colour (x + 7y) mod colours.
QImage fewColourPicture(int width, int height, int colours);
QRgb fewColourPixel(int x, int y, int colours);

// Reads a file with Qt's readers; *format receives the format Qt detected.
QImage readWithQt(const QString& path, QByteArray* format = nullptr);

// Runs a command and returns its standard output (empty when it fails).
QString run(const QString& program, const QStringList& arguments);

// ImageMagick's estimate of a JPEG file's quality, or -1.
int jpegQuality(const QString& path);

// The largest difference of any channel between two equally sized pictures,
// and the mean absolute difference over all channels.
int maxChannelDifference(const QImage& a, const QImage& b);
double meanChannelDifference(const QImage& a, const QImage& b);

// A folder files cannot be created in, even by root.
QString unwritableFolder();

// Runs `act` on the top-level window of that object name as soon as it is
// shown (for answering modal dialogs from a test).
void whenShown(const QString& objectName, std::function<void(QWidget*)> act);

// Once the scan settings window shows: sets the resolution and the area
// (millimetres), leaves the mode, and presses "Scan". The defaults are the
// test scanner's own, so the picture equals scanimage's.
void scanWhenShown(double dpi = 75, const QRectF& area = QRectF(0, 0, 40, 30));
// Sets the window's resolution and area without scanning.
void setScanSettings(QWidget* window, double dpi, const QRectF& area);
void press(QWidget* window, const char* button);

QByteArray fileBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);

} // namespace testpictures
