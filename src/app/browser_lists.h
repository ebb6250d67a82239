#pragma once
// The drive and folder lists of the picture browser (the files: file_list.h).
// Each set…() returns false and keeps the list as it was when the place
// cannot be read.

#include <QByteArray>
#include <QComboBox>
#include <QListWidget>
#include <QTimer>

// The drive list: the places people know (Computer, Home, Pictures) and the
// memory cards and USB sticks by their names, each item's data its folder.
// It follows the mount table: a card appears when it is mounted and goes
// when it is unmounted.
class DriveList : public QComboBox {
    Q_OBJECT
  public:
    explicit DriveList(QWidget* parent = nullptr);
    QString drive() const { return currentData().toString(); }
    // Selects the drive (its folder) without telling anyone.
    bool setDrive(const QString& drive);
    void refresh();

  signals:
    // The user picked another drive, or the current one went away and the
    // next one took its place.
    void driveChanged();

  private:
    void checkMounts();

    QTimer m_mountWatch;
    QByteArray m_mounts;
};

// The folder list: the path from the drive root down to the current folder,
// then the current folder's sub-folders. A double-click opens a folder.
class FolderList : public QListWidget {
    Q_OBJECT
  public:
    explicit FolderList(QWidget* parent = nullptr);
    QString path() const { return m_path; }
    bool setPath(const QString& path);
    void refresh();

  signals:
    void pathChanged();

  private:
    QString m_path;
};
