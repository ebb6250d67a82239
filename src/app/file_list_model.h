#pragma once
// The picture files of one folder, sorted by name, each with its thumbnail:
// a neutral placeholder until it is made, a broken-picture mark (the reason as
// tool tip) when it cannot be. The list follows the folder: pictures added,
// removed or renamed there appear or go, and a changed picture's thumbnail is
// made again. Thumbnails are made only for the rows a view asks for (those it
// shows) and held only for the rows near them, so a folder of thousands of
// pictures costs what one screen of them does.

#include <QAbstractListModel>
#include <QFileSystemWatcher>
#include <QHash>
#include <QPixmap>
#include <QSet>
#include <QStringList>
#include <QTimer>
#include <memory>

class ThumbnailMaker;

class FileListModel : public QAbstractListModel {
    Q_OBJECT
  public:
    explicit FileListModel(QObject* parent = nullptr);
    ~FileListModel() override;

    QString folder() const { return m_folder; }
    // Lists the folder and follows it from now on. Returns false and keeps the
    // list as it was when the folder cannot be read. The same folder again is
    // listed afresh, keeping the thumbnails of the files that stay.
    bool setFolder(const QString& folder);
    const QStringList& names() const { return m_names; }

    // How the thumbnails are shown: a square of side logical pixels on a
    // screen of this device pixel ratio.
    void setIconSide(int side, qreal devicePixelRatio);
    // The rows a view shows: their thumbnails are made, newest request first;
    // those far from them are let go.
    void showRows(int first, int last);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

  private:
    struct Thumb {
        QPixmap pixmap;
        QString error;
        bool pending = false; // asked of the maker, not ready yet
        bool current = false; // made from the file as it is now
    };

    void relist();
    void updateRows(const QStringList& names);
    void takeThumbnail(const QString& file, const QImage& image, const QString& error);
    void letGo(const QString& name);
    void letGoOfAll();
    void remakeMaker();
    QString path(const QString& name) const;
    QPixmap square(const QImage& image) const;

    QString m_folder;
    QStringList m_names;
    QHash<QString, int> m_rows;     // row by name
    QHash<QString, Thumb> m_thumbs; // by name, only near the rows shown
    QSet<QString> m_changed;        // names whose file changed since the last listing
    QFileSystemWatcher m_watch;     // the folder, and the files whose thumbnails are held
    QSet<QString> m_watched;        // those files
    QTimer m_relist;                // gathers a burst of changes into one listing
    std::unique_ptr<ThumbnailMaker> m_maker;
    int m_side = 64;
    qreal m_ratio = 1;
    QPixmap m_placeholder, m_broken;
    int m_first = 0, m_last = -1; // the rows shown
};
