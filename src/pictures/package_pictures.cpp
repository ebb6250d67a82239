#include "pictures/package_pictures.h"

#include "common/workers.h"
#include "pictures/full_picture.h"
#include "pictures/picture_loader.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>

const QImage& PackagePictures::picture(int index) const {
    Entry& e = m_entries.at(size_t(index));
    if (e.pending) {
        e.picture = e.pending->picture();
        e.pending.reset();
    }
    return e.picture;
}

const QImage& PackagePictures::preview(int index) const {
    const Entry& e = m_entries.at(size_t(index));
    return e.preview.isNull() ? e.picture : e.preview;
}

QSize PackagePictures::size(int index) const {
    return m_entries.at(size_t(index)).size;
}

namespace {

QImage screenCopy(const QImage& picture, int side) {
    // A reduced JPEG decode mostly is under twice the side already: scaling
    // it once more would cost more time than it saves the previews.
    if (picture.isNull() || (picture.width() < 2 * side && picture.height() < 2 * side))
        return picture;
    return picture.scaled(QSize(side, side), Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

// Whether a quick picture shows all that the screen copy of the full picture
// (of `full` pixels) would.
bool enoughForScreen(QSize quick, QSize full, int side) {
    const QSize copy = full.boundedTo(full.scaled(side, side, Qt::KeepAspectRatio));
    return quick.width() >= copy.width() && quick.height() >= copy.height();
}

} // namespace

// What the worker makes of a file for the screen.
struct PackagePictures::QuickLoad {
    QString error;     // why there is nothing to show
    QImage picture;    // the full picture, when one decode gave everything
    QImage reduced;    // else the quick reduced one,
    QByteArray bytes;  // and the file's content for the full decode
    QImage screenCopy; // null when later loads overtook it before it began
    QSize size;        // the full picture's
    // The screen copy is smaller than the box: the full decode remakes it.
    bool provisional = false;
};

void PackagePictures::load(const QString& fileName, const std::vector<int>& positions) {
    if (positions.empty())
        return;
    const quint64 load = ++m_lastLoad;
    for (int index : positions)
        m_latest->at(size_t(index)) = load;
    setLoading(+1);
    // Clicking through a folder quickly leaves loads nobody waits for.
    auto wanted = [latest = m_latest, positions, load] {
        return std::any_of(positions.begin(), positions.end(),
                           [&](int index) { return latest->at(size_t(index)) == load; });
    };
    // Always reported through the event loop, even when the worker is done
    // at once: load() never changes the positions itself.
    (void)QtConcurrent::run(workers::pool(), [fileName, side = m_screenCopySide, wanted, positions,
                                              load, self = QPointer<PackagePictures>(this)] {
        const QuickLoad quick = readForScreen(fileName, side, wanted);
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, fileName, positions, load, quick] {
                if (!self)
                    return;
                self->showLoaded(fileName, positions, load, quick);
                self->setLoading(-1);
            },
            Qt::QueuedConnection);
    });
}

void PackagePictures::showLoaded(const QString& fileName, const std::vector<int>& positions,
                                 quint64 load, const QuickLoad& quick) {
    if (!quick.error.isEmpty()) {
        emit loadFailed(fileName, quick.error);
        return;
    }
    if (quick.screenCopy.isNull())
        return; // overtaken before it began
    std::shared_ptr<FullPicture> full;
    if (quick.picture.isNull()) {
        // Reported back to this thread, unless the positions let go of it first.
        const int side = quick.provisional ? m_screenCopySide : 0;
        auto decode = [fileName, bytes = quick.bytes, load, side,
                       self = QPointer<PackagePictures>(this)](const std::atomic<bool>* cancel) {
            LoadedPicture loaded = pictureloader::decode(fileName, bytes, cancel);
            // Made here, not on the screen's thread, which it would hold up.
            const QImage sharp = side > 0 ? screenCopy(loaded.image, side) : QImage();
            if (!cancel->load() && QCoreApplication::instance())
                QMetaObject::invokeMethod(
                    QCoreApplication::instance(),
                    [self, fileName, load, error = loaded.error, sharp] {
                        if (self)
                            self->fullDecoded(fileName, load, error, sharp);
                    },
                    Qt::QueuedConnection);
            return loaded.image;
        };
        full = std::make_shared<FullPicture>(std::move(decode), quick.reduced);
    }
    const QString name = QFileInfo(fileName).fileName();
    bool shown = false;
    for (int index : positions) {
        if (m_latest->at(size_t(index)) != load)
            continue; // a later load or picture took it
        Entry& e = m_entries.at(size_t(index));
        std::shared_ptr<Entry> before = full ? std::make_shared<Entry>(std::move(e)) : nullptr;
        e = {quick.picture, full, quick.screenCopy, quick.size, {}, name, load, std::move(before)};
        emit changed(index);
        shown = true;
    }
    if (full && shown)
        FullPicture::startSoon(full);
}

void PackagePictures::fullDecoded(const QString& fileName, quint64 load, const QString& error,
                                  const QImage& sharp) {
    for (size_t i = 0; i < m_entries.size(); ++i) {
        Entry& e = m_entries[i];
        if (e.load != load || !e.before)
            continue;
        if (error.isEmpty()) {
            e.before.reset();
            if (!sharp.isNull()) {
                e.preview = sharp; // one copy, shared by the positions
                emit changed(int(i));
            }
        } else {
            const Entry before = *e.before;
            e = before;
            emit changed(int(i));
        }
    }
    if (!error.isEmpty())
        emit loadFailed(fileName, error);
}

void PackagePictures::setLoading(int change) {
    const bool was = isLoading();
    m_loading += change;
    if (isLoading() != was)
        emit loadingChanged(isLoading());
}

void PackagePictures::set(int index, const QImage& picture, const QString& name) {
    const quint64 load = ++m_lastLoad;
    m_latest->at(size_t(index)) = load;
    const QImage copy = screenCopy(picture, m_screenCopySide);
    m_entries.at(size_t(index)) = {picture, nullptr, copy, picture.size(), {}, name, load, {}};
    emit changed(index);
}

const imaging::Framing& PackagePictures::framing(int index) const {
    return m_entries.at(size_t(index)).framing;
}

void PackagePictures::setFraming(int index, const imaging::Framing& framing) {
    imaging::Framing& f = m_entries.at(size_t(index)).framing;
    if (f == framing)
        return;
    f = framing;
    emit framingChanged(index);
}

PackagePictures::Snapshot PackagePictures::snapshot() const {
    Snapshot snapshot;
    for (size_t i = 0; i < m_entries.size(); ++i)
        snapshot.m_positions[i] = {m_entries[i].picture, m_entries[i].pending,
                                   m_entries[i].framing};
    return snapshot;
}

QImage PackagePictures::Snapshot::picture(int index) const {
    const Position& p = m_positions.at(size_t(index));
    return p.pending ? p.pending->picture() : p.picture;
}

const imaging::Framing& PackagePictures::Snapshot::framing(int index) const {
    return m_positions.at(size_t(index)).framing;
}

// On a worker: the file read once, and a screen copy from a quick reduced
// decode where the file gives one (even a thumbnail smaller than the box:
// something at once beats a sharp picture a second later), else from the one
// full decode.
PackagePictures::QuickLoad PackagePictures::readForScreen(const QString& fileName, int side,
                                                          const std::function<bool()>& wanted) {
    QuickLoad r;
    if (!wanted())
        return r;
    const std::optional<QByteArray> bytes = pictureloader::readFile(fileName, &r.error);
    if (!bytes || !wanted())
        return r;
    LoadedPicture quick = pictureloader::decodeReduced(fileName, *bytes, QSize(side, side),
                                                       pictureloader::Quick::OrSmaller);
    if (quick.ok()) {
        r.size = quick.fullSize.isValid() ? quick.fullSize : quick.image.size();
        r.provisional = !enoughForScreen(quick.image.size(), r.size, side);
        r.screenCopy = screenCopy(quick.image, side);
        r.reduced = std::move(quick.image);
        r.bytes = *bytes;
        return r;
    }
    LoadedPicture loaded = pictureloader::decode(fileName, *bytes);
    if (!loaded.ok()) {
        r.error = loaded.error;
        return r;
    }
    r.size = loaded.image.size();
    r.screenCopy = screenCopy(loaded.image, side);
    r.picture = std::move(loaded.image);
    return r;
}
