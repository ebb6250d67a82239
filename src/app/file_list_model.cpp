#include "app/file_list_model.h"

#include "app/picture_browser.h"
#include "thumbnails/thumbnail_maker.h"

#include <QFileInfo>
#include <QIcon>
#include <QPainter>

namespace {

// A gathered change is listed this long after the folder's last signal: well
// within the two seconds a user waits for a new picture to appear.
constexpr int RelistDelay = 200;

// The thumbnail sizes the shared cache keeps (freedesktop.org: normal, large).
int thumbnailPixels(int side, qreal ratio) {
    return side * ratio <= 128 ? 128 : 256;
}

QPixmap emptySquare(int side, qreal ratio) {
    const int pixels = qRound(side * ratio);
    QPixmap square(pixels, pixels);
    square.setDevicePixelRatio(ratio);
    square.fill(Qt::transparent);
    return square;
}

// Where a picture's thumbnail stands in its square: a 4:3 frame.
QRectF frameIn(int side) {
    return QRectF(side * 0.1, side * 0.2, side * 0.8, side * 0.6);
}

QPixmap placeholder(int side, qreal ratio) {
    QPixmap square = emptySquare(side, ratio);
    QPainter p(&square);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(128, 128, 128, 40));
    p.drawRoundedRect(frameIn(side), side / 16.0, side / 16.0);
    return square;
}

// The desktop's own "image-missing" icon, or a crossed-out frame where the
// icon theme has none.
QPixmap brokenMark(int side, qreal ratio) {
    const QIcon themed = QIcon::fromTheme(QStringLiteral("image-missing"));
    if (!themed.isNull()) {
        QPixmap square = emptySquare(side, ratio);
        QPainter p(&square);
        themed.paint(&p, QRect(side / 4, side / 4, side / 2, side / 2));
        return square;
    }
    QPixmap square = emptySquare(side, ratio);
    QPainter p(&square);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = frameIn(side);
    p.setPen(QPen(QColor(140, 140, 140), side / 40.0));
    p.setBrush(QColor(235, 235, 235));
    p.drawRect(frame);
    p.setPen(QPen(QColor(200, 40, 40), side / 14.0, Qt::SolidLine, Qt::RoundCap));
    const QRectF cross = frame.adjusted(side * 0.2, side * 0.1, -side * 0.2, -side * 0.1);
    p.drawLine(cross.topLeft(), cross.bottomRight());
    p.drawLine(cross.topRight(), cross.bottomLeft());
    return square;
}

} // namespace

FileListModel::FileListModel(QObject* parent) : QAbstractListModel(parent) {
    m_relist.setSingleShot(true);
    m_relist.setInterval(RelistDelay);
    connect(&m_relist, &QTimer::timeout, this, &FileListModel::relist);
    connect(&m_watch, &QFileSystemWatcher::directoryChanged, &m_relist,
            qOverload<>(&QTimer::start));
    connect(&m_watch, &QFileSystemWatcher::fileChanged, this, [this](const QString& file) {
        // The watch may now be on a file that was replaced: it is set again
        // when the new thumbnail is asked for.
        m_watch.removePath(file);
        m_watched.remove(file);
        m_changed.insert(QFileInfo(file).fileName());
        m_relist.start();
    });
    m_placeholder = placeholder(m_side, m_ratio);
    m_broken = brokenMark(m_side, m_ratio);
    remakeMaker();
}

FileListModel::~FileListModel() = default;

void FileListModel::remakeMaker() {
    m_maker = std::make_unique<ThumbnailMaker>(thumbnailPixels(m_side, m_ratio));
    connect(m_maker.get(), &ThumbnailMaker::ready, this, &FileListModel::takeThumbnail);
}

QString FileListModel::path(const QString& name) const {
    return browser::fullPath(m_folder, name);
}

bool FileListModel::setFolder(const QString& folder) {
    if (folder == m_folder && !m_folder.isEmpty()) {
        relist();
        return true;
    }
    const auto names = browser::pictureFiles(folder);
    if (!names)
        return false;
    beginResetModel();
    letGoOfAll();
    if (!m_folder.isEmpty())
        m_watch.removePath(m_folder);
    m_folder = folder;
    m_watch.addPath(m_folder);
    m_names = *names;
    m_changed.clear();
    m_rows.clear();
    for (int row = 0; row < m_names.size(); ++row)
        m_rows.insert(m_names[row], row);
    m_first = 0;
    m_last = -1;
    endResetModel();
    return true;
}

void FileListModel::relist() {
    m_relist.stop();
    const auto names = browser::pictureFiles(m_folder);
    if (!names)
        return; // unreadable for now: the list stays as it was
    updateRows(*names);
    for (const QString& name : std::as_const(m_changed)) {
        const auto thumb = m_thumbs.find(name);
        if (thumb == m_thumbs.end())
            continue;
        m_maker->forget(path(name));
        thumb->pending = false;
        thumb->current = false;
    }
    m_changed.clear();
    showRows(m_first, m_last);
}

// Removes the rows whose files went and inserts those of new files, so a
// view keeps its selection and place.
void FileListModel::updateRows(const QStringList& names) {
    const QSet<QString> now(names.begin(), names.end());
    for (qsizetype end = m_names.size() - 1; end >= 0;) {
        if (now.contains(m_names[end])) {
            --end;
            continue;
        }
        qsizetype start = end;
        while (start > 0 && !now.contains(m_names[start - 1]))
            --start;
        beginRemoveRows({}, int(start), int(end));
        for (qsizetype row = start; row <= end; ++row)
            letGo(m_names[row]);
        m_names.remove(start, end - start + 1);
        endRemoveRows();
        end = start - 1;
    }
    // What stays is in the same order in both lists.
    const QSet<QString> before(m_names.begin(), m_names.end());
    for (qsizetype start = 0; start < names.size();) {
        if (before.contains(names[start])) {
            ++start;
            continue;
        }
        qsizetype end = start;
        while (end + 1 < names.size() && !before.contains(names[end + 1]))
            ++end;
        beginInsertRows({}, int(start), int(end));
        for (qsizetype row = start; row <= end; ++row)
            m_names.insert(row, names[row]);
        endInsertRows();
        start = end + 1;
    }
    if (m_names != names) { // two names the sort holds equal swapped places
        beginResetModel();
        m_names = names;
        endResetModel();
    }
    m_rows.clear();
    for (int row = 0; row < m_names.size(); ++row)
        m_rows.insert(m_names[row], row);
}

void FileListModel::letGo(const QString& name) {
    const auto thumb = m_thumbs.constFind(name);
    if (thumb == m_thumbs.constEnd())
        return;
    const QString file = path(name);
    m_maker->forget(file);
    if (m_watched.remove(file))
        m_watch.removePath(file);
    m_thumbs.erase(thumb);
}

void FileListModel::letGoOfAll() {
    const QStringList held = m_thumbs.keys();
    for (const QString& name : held)
        letGo(name);
}

void FileListModel::setIconSide(int side, qreal devicePixelRatio) {
    if (side == m_side && devicePixelRatio == m_ratio)
        return;
    m_side = side;
    m_ratio = devicePixelRatio;
    m_placeholder = placeholder(m_side, m_ratio);
    m_broken = brokenMark(m_side, m_ratio);
    letGoOfAll();
    remakeMaker();
    if (!m_names.isEmpty())
        emit dataChanged(index(0), index(int(m_names.size()) - 1), {Qt::DecorationRole});
    showRows(m_first, m_last);
}

void FileListModel::showRows(int first, int last) {
    m_first = std::max(first, 0);
    m_last = std::min(last, int(m_names.size()) - 1);
    // Thumbnails within two screens of the shown rows are kept for scrolling
    // back; requests for rows scrolled past are withdrawn.
    const int reach = 2 * (m_last - m_first + 1);
    QStringList far;
    bool withdraw = false;
    for (auto thumb = m_thumbs.cbegin(); thumb != m_thumbs.cend(); ++thumb) {
        const int row = m_rows.value(thumb.key(), -1);
        if (row < m_first - reach || row > m_last + reach)
            far << thumb.key();
        else if (thumb->pending && (row < m_first || row > m_last))
            withdraw = true;
    }
    for (const QString& name : std::as_const(far))
        letGo(name);
    if (withdraw) {
        m_maker->cancelPending();
        for (auto thumb = m_thumbs.begin(); thumb != m_thumbs.end(); ++thumb)
            if (thumb->pending) {
                m_maker->forget(path(thumb.key()));
                thumb->pending = false;
            }
    }
    // The maker takes the newest request first: the top row is asked last.
    for (int row = m_last; row >= m_first; --row) {
        Thumb& thumb = m_thumbs[m_names[row]];
        if (thumb.current || thumb.pending)
            continue;
        const QString file = path(m_names[row]);
        thumb.pending = true;
        if (!m_watched.contains(file) && m_watch.addPath(file))
            m_watched.insert(file);
        m_maker->request(file);
    }
}

void FileListModel::takeThumbnail(const QString& file, const QImage& image, const QString& error) {
    const QString name = QFileInfo(file).fileName();
    const auto thumb = m_thumbs.find(name);
    if (thumb == m_thumbs.end() || !thumb->pending || file != path(name))
        return; // let go of meanwhile
    thumb->pending = false;
    thumb->current = true;
    if (image.isNull()) {
        thumb->pixmap = QPixmap();
        thumb->error = error.isEmpty() ? tr("The picture could not be read.") : error;
    } else {
        thumb->pixmap = square(image);
        thumb->error.clear();
    }
    const QModelIndex at = index(m_rows.value(name));
    emit dataChanged(at, at, {Qt::DecorationRole, Qt::ToolTipRole});
}

QPixmap FileListModel::square(const QImage& image) const {
    const int pixels = qRound(m_side * m_ratio);
    QImage fitted = image.scaled(pixels, pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    fitted.setDevicePixelRatio(m_ratio);
    QPixmap square = emptySquare(m_side, m_ratio);
    QPainter p(&square);
    p.drawImage(QPointF((pixels - fitted.width()) / 2, (pixels - fitted.height()) / 2) / m_ratio,
                fitted);
    return square;
}

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_names.size());
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_names.size())
        return {};
    const QString& name = m_names[index.row()];
    const auto thumb = m_thumbs.constFind(name);
    const bool failed = thumb != m_thumbs.constEnd() && !thumb->error.isEmpty();
    switch (role) {
    case Qt::DisplayRole:
        return name;
    case Qt::DecorationRole:
        if (failed)
            return m_broken;
        return thumb == m_thumbs.constEnd() || thumb->pixmap.isNull() ? m_placeholder
                                                                      : thumb->pixmap;
    case Qt::ToolTipRole:
        return failed ? QVariant(thumb->error) : QVariant();
    default:
        return {};
    }
}
