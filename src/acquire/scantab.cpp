#include "acquire/scantab.h"

#include "acquire/scanning.h"
#include "common/ini_file.h"
#include "common/paths.h"
#include "notify/prompt.h"
#include "pictures/picture_formats.h"
#include "pictures/save_picture.h"

#include <QFileDialog>
#include <QFileInfo>

namespace acquire {

namespace {

const QString acquireFailed = QStringLiteral("Unable to aquire image!");
const QString overwriteQuestion =
    QStringLiteral(" This picture already exists. Overwrite old picture with new one?");
const QString savedMessage = QStringLiteral("Sucessfully saved file.");
const QString saveFailed = QStringLiteral("Unable to save file.");
// The type chosen last is offered first next time, also after a restart: it
// is kept in the settings file, in a section of its own beside "MAIN".
const QString saveSection = QStringLiteral("SAVE");
const QString saveTypeKey = QStringLiteral("Type");

// "JPG" for "JPG (*.JPG)".
QString typeName(const QString& nameFilter) {
    return nameFilter.section(' ', 0, 0);
}

QString lastSaveType(const IniFile& settings, const QStringList& types) {
    const QString stored = settings.read(saveSection, saveTypeKey);
    for (const QString& type : types)
        if (typeName(type) == stored)
            return type;
    return types.front();
}

} // namespace

void selectSource(QWidget* owner) {
    chooseScanner(owner);
}

std::optional<QImage> acquireScan(notify::Prompt& prompt, QWidget* owner,
                                  const QString& settingsFile) {
    Scanned scanned = scanPicture(owner, settingsFile);
    if (scanned.outcome == ScanOutcome::Ok)
        return std::move(scanned.picture);
    // Closing the window and cancelling a scan are the user's choice, not failures.
    if (scanned.outcome != ScanOutcome::Declined && scanned.outcome != ScanOutcome::Cancelled)
        prompt.tell(acquireFailed);
    return std::nullopt;
}

std::optional<QString> chooseSaveName(QWidget* owner, const QString& settingsFile) {
    IniFile settings(settingsFile);
    QFileDialog dialog(owner);
    dialog.setObjectName("saveDialog");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDirectory(paths::picturesDir());
    const QStringList types = pictures::saveTypes();
    dialog.setNameFilters(types);
    dialog.selectNameFilter(lastSaveType(settings, types));
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
    if (name.isEmpty() || star < 0 || close < 0 || !QFileInfo(name).suffix().isEmpty())
        return name;
    const QString base = name.endsWith('.') ? name.chopped(1) : name;
    // The types read "BMP (*.BMP)"; names get the extension in lower case, as files here have.
    return base + nameFilter.mid(star + 1, close - star - 1).toLower();
}

void saveScan(notify::Prompt& prompt, QWidget* owner, const QImage& picture,
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
    auto save = [&prompt, picture3, name] {
        const pictures::PictureFormat* format = pictures::formatOf(name);
        const bool saved =
            format && pictures::savePicture(picture3, name, *format, format->quality).ok();
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
