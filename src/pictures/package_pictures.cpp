#include "pictures/package_pictures.h"

#include "pictures/full_picture.h"
#include "pictures/picture_loader.h"

#include <QFileInfo>

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

QImage PackagePictures::screenCopy(const QImage& picture) const {
    const int side = m_screenCopySide;
    // A reduced JPEG decode mostly is under twice the side already: scaling
    // it once more would cost more time than it saves the previews.
    if (picture.isNull() || (picture.width() < 2 * side && picture.height() < 2 * side))
        return picture;
    return picture.scaled(QSize(side, side), Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

bool PackagePictures::load(const QString& fileName, const std::vector<int>& positions,
                           QString* error) {
    if (positions.empty())
        return true;
    const std::optional<QByteArray> bytes = pictureloader::readFile(fileName, error);
    if (!bytes)
        return false;
    const QString name = QFileInfo(fileName).fileName();
    const LoadedPicture quick =
        pictureloader::decodeReduced(fileName, *bytes, QSize(m_screenCopySide, m_screenCopySide));
    if (!quick.ok()) {
        // Not a JPEG that reduces: one decode serves the screen and printing.
        const LoadedPicture loaded = pictureloader::decode(fileName, *bytes);
        if (!loaded.ok()) {
            if (error)
                *error = loaded.error;
            return false;
        }
        const QImage copy = screenCopy(loaded.image);
        for (int index : positions)
            set(index, loaded.image, nullptr, copy, loaded.image.size(), name);
        return true;
    }
    auto full = std::make_shared<FullPicture>(
        [fileName, bytes = *bytes](const std::atomic<bool>* cancel) {
            const LoadedPicture loaded = pictureloader::decode(fileName, bytes, cancel);
            if (!loaded.ok() && !cancel->load())
                qInfo("Parvello: %s could not be read: %s", qPrintable(fileName),
                      qPrintable(loaded.error));
            return loaded.image;
        },
        quick.image);
    FullPicture::startSoon(full);
    // The size the full picture will have, for the previews meanwhile.
    const QSize size = quick.fullSize.isValid() ? quick.fullSize : quick.image.size();
    const QImage copy = screenCopy(quick.image);
    for (int index : positions)
        set(index, QImage(), full, copy, size, name);
    return true;
}

void PackagePictures::set(int index, const QImage& picture, const QString& name) {
    set(index, picture, nullptr, screenCopy(picture), picture.size(), name);
}

void PackagePictures::set(int index, const QImage& picture, std::shared_ptr<FullPicture> full,
                          const QImage& screenCopy, QSize size, const QString& name) {
    m_entries.at(size_t(index)) = {picture, std::move(full), screenCopy, size, {}, name};
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
