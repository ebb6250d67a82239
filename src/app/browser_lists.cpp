#include "app/browser_lists.h"

#include "app/picture_browser.h"

#include <QDir>
#include <QFileInfo>
#include <QStyle>

#include <algorithm>

namespace {

QStyle::StandardPixmap icon(browser::Drive::Kind kind) {
    switch (kind) {
    case browser::Drive::Kind::Computer:
        return QStyle::SP_ComputerIcon;
    case browser::Drive::Kind::Home:
        return QStyle::SP_DirHomeIcon;
    case browser::Drive::Kind::Pictures:
        return QStyle::SP_DirIcon;
    case browser::Drive::Kind::Removable:
        break;
    }
    return QStyle::SP_DriveHDIcon;
}

} // namespace

DriveList::DriveList(QWidget* parent) : QComboBox(parent) {
    m_mounts = browser::mountTable();
    refresh();
    connect(this, &QComboBox::activated, this, [this] { emit driveChanged(); });
    // Twice a second: a card shows up well within two seconds of being mounted.
    m_mountWatch.setInterval(500);
    connect(&m_mountWatch, &QTimer::timeout, this, &DriveList::checkMounts);
    m_mountWatch.start();
}

void DriveList::checkMounts() {
    QByteArray mounts = browser::mountTable();
    if (mounts == m_mounts)
        return;
    m_mounts = std::move(mounts);
    const QString current = drive();
    const int at = currentIndex();
    refresh();
    if (current.isEmpty() || findData(current) >= 0 || count() == 0)
        return;
    // The current drive went away: the one after it (or the last) takes over.
    {
        QSignalBlocker block(this);
        setCurrentIndex(std::min(at, count() - 1));
    }
    emit driveChanged();
}

void DriveList::refresh() {
    const QString current = drive();
    QSignalBlocker block(this);
    clear();
    for (const browser::Drive& d : browser::drives()) {
        addItem(style()->standardIcon(icon(d.kind)), d.caption, d.folder);
        setItemData(count() - 1, d.folder, Qt::ToolTipRole);
    }
    const int i = findData(current);
    if (i >= 0)
        setCurrentIndex(i);
}

bool DriveList::setDrive(const QString& drive) {
    if (drive.isEmpty())
        return false;
    int i = findData(drive);
    if (i < 0) {
        refresh();
        i = findData(drive);
    }
    if (i < 0)
        return false;
    QSignalBlocker block(this);
    setCurrentIndex(i);
    return true;
}

FolderList::FolderList(QWidget* parent) : QListWidget(parent) {
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        if (setPath(item->data(Qt::UserRole).toString()))
            emit pathChanged();
    });
}

bool FolderList::setPath(const QString& path) {
    if (path.isEmpty())
        return false;
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const auto children = browser::subFolders(clean);
    if (!children)
        return false;
    m_path = clean;

    clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QStringList parts = clean.split('/', Qt::SkipEmptyParts);
    QString at = "/";
    auto add = [&](const QIcon& icon, const QString& label, const QString& full, int depth) {
        auto* item = new QListWidgetItem(icon, QString(depth * 2, ' ') + label, this);
        item->setData(Qt::UserRole, full);
        return item;
    };
    QListWidgetItem* current = add(open, "/", "/", 0);
    for (int i = 0; i < parts.size(); ++i) {
        at = browser::fullPath(at, parts[i]);
        current = add(open, parts[i], at, i + 1);
    }
    for (const QString& child : *children)
        add(closed, child, browser::fullPath(m_path, child), parts.size() + 1);
    setCurrentItem(current);
    return true;
}

void FolderList::refresh() {
    if (!m_path.isEmpty())
        setPath(m_path);
}
