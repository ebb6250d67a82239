#include "pictures/package_pictures.h"

#include "pictures/full_picture.h"

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

void PackagePictures::set(int index, const QImage& picture, const QImage& preview) {
    m_entries.at(size_t(index)) = {picture, nullptr, preview, picture.size(), {}};
    emit changed(index);
}

void PackagePictures::set(int index, std::shared_ptr<FullPicture> full, const QImage& preview,
                          QSize size) {
    m_entries.at(size_t(index)) = {QImage(), std::move(full), preview, size, {}};
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
