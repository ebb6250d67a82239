#include "app/settings.h"

#include "common/paths.h"
#include "print/captions.h"
#include "print/print_order.h"
#include "print/printer_choice.h"

#include <QFileInfo>
#include <array>

namespace settings {

namespace {

const QString PrinterKey = QStringLiteral("Printer");
const QString FillKey = QStringLiteral("Fill");
const QString TurnKey = QStringLiteral("TurnToFit");
const QString CutGuidesKey = QStringLiteral("CutGuides");
const QString LeftKey = QStringLiteral("WindowLeft");
const QString TopKey = QStringLiteral("WindowTop");
const QString WidthKey = QStringLiteral("WindowWidth");
const QString HeightKey = QStringLiteral("WindowHeight");
const QString MaximizedKey = QStringLiteral("WindowMaximized");

// Exact, case-sensitive acceptance: " 1" or "01" are not numbers here.
int acceptedNumber(const QString& value, int low, int high, int otherwise) {
    for (int n = low; n <= high; ++n)
        if (value == QString::number(n))
            return n;
    return otherwise;
}

// The same exactness for screen coordinates, too many to count through.
std::optional<int> coordinate(const QString& value, int low, int high) {
    bool ok = false;
    const int n = value.toInt(&ok);
    if (!ok || value != QString::number(n) || n < low || n > high)
        return std::nullopt;
    return n;
}

std::optional<WindowPlace> readWindowPlace(const IniFile& file) {
    // Far beyond any screen, but never near overflowing a QRect.
    constexpr int kFar = 1 << 20;
    const auto left = coordinate(file.read(Section, LeftKey), -kFar, kFar);
    const auto top = coordinate(file.read(Section, TopKey), -kFar, kFar);
    const auto width = coordinate(file.read(Section, WidthKey), 1, kFar);
    const auto height = coordinate(file.read(Section, HeightKey), 1, kFar);
    if (!left || !top || !width || !height)
        return std::nullopt;
    return WindowPlace{QRect(*left, *top, *width, *height),
                       acceptedNumber(file.read(Section, MaximizedKey), 0, 1, 0) == 1};
}

} // namespace

QString defaultFileName() {
    return paths::settingsFile();
}

void readini(const IniFile& file, print::PrintOrder& order, SettingsTarget& target,
             const Defaults& defaults) {
    auto value = [&](const QString& key) { return file.read(Section, key); };

    target.setCurrentTab(acceptedNumber(value("Tab"), 0, int(print::kPackages.size()), 0));
    // Each package's key is its caption.
    for (const print::PackageLayout& package : print::kPackages)
        order.setTicked(package,
                        acceptedNumber(value(print::caption(package.caption)), 0, 1, 0) == 1);
    order.setCopies(acceptedNumber(value("Copies"), print::kMinCopies, print::kMaxCopies, 1));
    // The printer chosen under Utilities; none means the system's default.
    print::setChosenPrinter(value(PrinterKey));

    const bool firstStart = !QFileInfo::exists(file.fileName());
    print::PrintOptions options;
    const print::FillModeName* fill = print::fillModeByWord(value(FillKey).toStdString());
    options.fill = fill         ? fill->mode
                   : firstStart ? imaging::FillMode::Crop
                                : imaging::FillMode::Stretch;
    options.turnToFit = acceptedNumber(value(TurnKey), 0, 1, 1) == 1;
    options.cutGuides = acceptedNumber(value(CutGuidesKey), 0, 1, firstStart ? 1 : 0) == 1;
    order.setOptions(options);
    target.setWindowPlace(readWindowPlace(file));

    const QString drive = value("Drive");
    const QString folder = value("Dir");
    if (!drive.isEmpty() && target.setDrive(drive) && !folder.isEmpty() && target.setFolder(folder))
        return;

    // Something could not be applied: the whole set of defaults replaces what
    // was applied so far.
    target.setDrive(defaults.drive);
    target.setFolder(defaults.folder);
    target.setCurrentTab(0);
    for (const print::PackageLayout& package : print::kPackages)
        order.setTicked(package, false);
    order.setCopies(1);
}

bool writeini(IniFile& file, const print::PrintOrder& order, const SettingsTarget& source) {
    QList<IniFile::Entry> entries = {
        {"Drive", source.drive()},
        {"Dir", source.folder()},
        {"Tab", QString::number(source.currentTab())},
    };
    for (const print::PackageLayout& package : print::kPackages)
        entries.append({print::caption(package.caption), order.isTicked(package) ? "1" : "0"});
    entries.append({"Copies", QString::number(order.copies())});
    // After the nine keys, and only once a printer has been chosen.
    const QString printer = print::chosenPrinter();
    if (!printer.isEmpty() || !file.read(Section, PrinterKey).isEmpty())
        entries.append({PrinterKey, printer});
    const print::PrintOptions& options = order.options();
    const std::string_view fill = print::fillModeName(options.fill).word;
    entries.append({FillKey, QString::fromUtf8(fill.data(), qsizetype(fill.size()))});
    entries.append({TurnKey, options.turnToFit ? "1" : "0"});
    entries.append({CutGuidesKey, options.cutGuides ? "1" : "0"});
    const WindowPlace place = source.windowPlace();
    entries.append({LeftKey, QString::number(place.normal.x())});
    entries.append({TopKey, QString::number(place.normal.y())});
    entries.append({WidthKey, QString::number(place.normal.width())});
    entries.append({HeightKey, QString::number(place.normal.height())});
    entries.append({MaximizedKey, place.maximized ? "1" : "0"});
    return file.write(Section, entries);
}

} // namespace settings
