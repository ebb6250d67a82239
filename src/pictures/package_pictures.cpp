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

void PackagePictures::set(int index, const QImage& picture, const QImage& preview) {
    m_entries.at(size_t(index)) = {picture, nullptr, preview};
    emit changed(index);
}

void PackagePictures::set(int index, std::shared_ptr<FullPicture> full, const QImage& preview) {
    m_entries.at(size_t(index)) = {QImage(), std::move(full), preview};
    emit changed(index);
}
