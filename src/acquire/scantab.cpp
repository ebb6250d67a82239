#include "acquire/scantab.h"

#include "acquire/bmpfile.h"
#include "acquire/gdiplus.h"
#include "acquire/scanning.h"
#include "common/ini_file.h"
#include "common/paths.h"
#include "notify/prompt.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>

namespace acquire {

namespace {

const QString acquireFailed = QStringLiteral("Unable to aquire image!");
const QString overwriteQuestion =
    QStringLiteral(" This picture already exists. Overwrite old picture with new one?");
const QString savedMessage = QStringLiteral("Sucessfully saved file.");
const QString saveFailed = QStringLiteral("Unable to save file.");
const QStringList saveTypes = {"BMP (*.BMP)", "GIF (*.GIF)", "JPG (*.JPG)", "PNG (*.PNG)",
                               "TIF (*.TIF)"};
// The type chosen last is offered first next time, also after a restart: it
// is kept in the settings file, in a section of its own beside "MAIN".
const QString saveSection = QStringLiteral("SAVE");
const QString saveTypeKey = QStringLiteral("Type");

// "JPG" for "JPG (*.JPG)".
QString typeName(const QString& nameFilter) {
    return nameFilter.section(' ', 0, 0);
}

QString lastSaveType(const IniFile& settings) {
    const QString stored = settings.read(saveSection, saveTypeKey, 64);
    for (const QString& type : saveTypes)
        if (typeName(type) == stored)
            return type;
    return saveTypes.front();
}

// Our staging files are our own bitmaps; anything else a scanner layer might
// leave there goes through Qt's readers.
QImage loadStaged(const QString& path) {
    QImage image = readWindowsBitmap(path);
    if (image.isNull()) {
        QImageReader reader(path);
        image = reader.read();
    }
    return image;
}

} // namespace

QString stagingPath() {
    return paths::cacheDir() + "/temp.bmp";
}

void selectSource(QWidget* owner) {
    chooseScanner(owner);
}

void acquireScan(notify::Prompt& prompt, QWidget* owner, QImage& image20,
                 const QString& settingsFile) {
    const ScanOutcome result = scanToFile(owner, stagingPath(), settingsFile);
    if (result == ScanOutcome::Declined)
        return;
    if (result != ScanOutcome::Ok || !loadStagingFile(image20))
        prompt.tell(acquireFailed);
}

bool loadStagingFile(QImage& image20) {
    const QString staging = stagingPath();
    const QImage scanned = loadStaged(staging);
    // An unreadable staging file is of no further use: the next scan rewrites it.
    QFile::remove(staging);
    if (scanned.isNull())
        return false;
    image20 = scanned;
    return true;
}

std::optional<QString> chooseSaveName(QWidget* owner, const QString& settingsFile) {
    IniFile settings(settingsFile);
    QFileDialog dialog(owner);
    dialog.setObjectName("saveDialog");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDirectory(paths::picturesDir());
    dialog.setNameFilters(saveTypes);
    dialog.selectNameFilter(lastSaveType(settings));
    // The overwrite question comes from the popup, as every question does.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString type = dialog.selectedNameFilter();
    // Not remembering the type is no reason to lose the picture.
    settings.write(saveSection, saveTypeKey, typeName(type));
    return withTypeExtension(dialog.selectedFiles().constFirst(), type);
}

QString withTypeExtension(const QString& name, const QString& nameFilter) {
    const int star = nameFilter.indexOf("*.");
    const int close = nameFilter.indexOf(')', star);
    if (name.isEmpty() || star < 0 || close < 0 || !cGdiPlus::FileExtension(name).isEmpty())
        return name;
    const QString base = name.endsWith('.') ? name.chopped(1) : name;
    return base + nameFilter.mid(star + 1, close - star - 1);
}

void saveScan(notify::Prompt& prompt, QWidget* owner, const QImage& picture, cGdiPlus& saver,
              const SaveNameChooser& choose) {
    const QImage picture3 = picture;
    const std::optional<QString> chosen = choose ? choose(owner) : std::nullopt;
    // Cancelling is the user's choice, not a failure to report.
    if (!chosen)
        return;
    if (chosen->isEmpty()) {
        prompt.tell(saveFailed);
        return;
    }
    const QString name = *chosen;
    auto save = [&prompt, &saver, picture3, name] {
        bool saved = false;
        if (name.right(3) == QLatin1String("BMP"))
            saved = writeWindowsBitmap(picture3, name).ok();
        else
            saved = saver.PictureBoxToFile(picture3, name, 85);
        prompt.tell(saved ? savedMessage : saveFailed);
    };
    if (FileExists(name))
        prompt.askYesNo(overwriteQuestion, [save](bool yes) {
            if (yes)
                save();
        });
    else
        save();
}

bool FileExists(const QString& name) {
    const QFileInfo info(name);
    return info.exists() && !info.isDir();
}

} // namespace acquire
