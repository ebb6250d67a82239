#include "app/file_list.h"

#include "app/picture_browser.h"

#include <QKeyEvent>
#include <QScrollBar>

namespace {

// The thumbnails' side in logical pixels: a picture is recognisable at this
// size and the narrow browser column still shows the name beside it.
constexpr int ThumbnailSide = 56;

} // namespace

FileList::FileList(QWidget* parent) : QListView(parent) {
    setModel(&m_files);
    setViewMode(QListView::ListMode);
    setIconSize(QSize(ThumbnailSide, ThumbnailSide));
    setUniformItemSizes(true); // thousands of rows are laid out without asking each
    // Names longer than the narrow column lose their beginning, rather than
    // being scrolled to: cameras number their files at the end (IMG_…0412.jpg).
    setTextElideMode(Qt::ElideLeft);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    connect(this, &QListView::clicked, this, &FileList::fileChosen);

    m_shownRows.setSingleShot(true);
    m_shownRows.setInterval(0);
    connect(&m_shownRows, &QTimer::timeout, this, &FileList::askForShownRows);
    auto ask = [this] { m_shownRows.start(); };
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, ask);
    connect(&m_files, &QAbstractItemModel::modelReset, this, ask);
    connect(&m_files, &QAbstractItemModel::rowsInserted, this, ask);
    connect(&m_files, &QAbstractItemModel::rowsRemoved, this, ask);
}

void FileList::askForShownRows() {
    m_files.setIconSide(ThumbnailSide, devicePixelRatioF());
    const int rows = m_files.rowCount();
    const QModelIndex first = indexAt(QPoint(1, 1));
    if (!isVisible() || rows == 0 || !first.isValid()) {
        m_files.showRows(0, -1);
        return;
    }
    const QModelIndex last = indexAt(QPoint(1, viewport()->height() - 1));
    m_files.showRows(first.row(), last.isValid() ? last.row() : rows - 1);
}

void FileList::resizeEvent(QResizeEvent* event) {
    QListView::resizeEvent(event);
    m_shownRows.start();
}

void FileList::showEvent(QShowEvent* event) {
    QListView::showEvent(event);
    m_shownRows.start();
}

void FileList::keyPressEvent(QKeyEvent* event) {
    // Enter and Space choose the file under the focus, also before an arrow
    // key has selected it (the list has just been tabbed into).
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) &&
        currentIndex().isValid()) {
        selectionModel()->select(currentIndex(), QItemSelectionModel::ClearAndSelect);
        emit fileChosen();
        return;
    }
    QListView::keyPressEvent(event);
}

bool FileList::setPath(const QString& path) {
    return m_files.setFolder(path);
}

void FileList::refresh() {
    if (!path().isEmpty())
        m_files.setFolder(path());
}

bool FileList::selectFile(const QString& name) {
    const int row = int(m_files.names().indexOf(name));
    if (row < 0)
        return false;
    const QModelIndex at = m_files.index(row);
    setCurrentIndex(at);
    selectionModel()->select(at, QItemSelectionModel::ClearAndSelect);
    scrollTo(at);
    return true;
}

QStringList FileList::selectedFiles() const {
    QStringList files;
    for (const QModelIndex& at : selectionModel()->selectedIndexes())
        files << browser::fullPath(path(), at.data().toString());
    return files;
}
