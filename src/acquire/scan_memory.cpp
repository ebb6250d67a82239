#include "acquire/scan_memory.h"

#include <cmath>

namespace acquire {

namespace {

double number(const QString& text) {
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0;
}

QString text(double v) {
    return QString::number(v, 'g', 10);
}

} // namespace

ScanMemory::ScanMemory(const QString& settingsFile) : m_file(settingsFile) {}

QString ScanMemory::section(const QString& device) {
    return "SCANNER " + device;
}

ScanChoice ScanMemory::recall(const QString& device) const {
    auto value = [&](const char* key) { return m_file.read(section(device), key); };
    ScanChoice choice;
    choice.resolution = number(value("Resolution"));
    choice.mode = value("Mode");
    choice.area = QRectF(QPointF(number(value("Left")), number(value("Top"))),
                         QPointF(number(value("Right")), number(value("Bottom"))));
    return choice;
}

bool ScanMemory::remember(const QString& device, const ScanChoice& choice) {
    return m_file.write(section(device), {{"Resolution", text(choice.resolution)},
                                          {"Mode", choice.mode},
                                          {"Left", text(choice.area.left())},
                                          {"Top", text(choice.area.top())},
                                          {"Right", text(choice.area.right())},
                                          {"Bottom", text(choice.area.bottom())}});
}

} // namespace acquire
