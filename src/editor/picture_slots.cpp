#include "editor/picture_slots.h"

#include "editor/transforms.h"

#include <cstdlib>
#include <cstring>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace editor {

namespace {

const QString NoMemoryMessage = QStringLiteral("Not enough memory to change this picture.");

// Every command draws into a new picture of up to some hundred megabytes. Backed by huge
// pages where the system offers them, touching it for the first time costs a few page faults
// instead of tens of thousands (about 8 ms instead of 300 ms for 24 megapixels).
constexpr std::size_t kHugePage = std::size_t(2) << 20;

void releasePicture(void* pixels) {
    std::free(pixels);
}

CommandResult failed(const QString& message) {
    return {CommandResult::Status::Failed, message};
}

} // namespace

imaging::BitmapView viewOf(QImage& picture) {
    return {picture.bits(), picture.width(), picture.height(), picture.bytesPerLine()};
}

imaging::BitmapView readView(const QImage& picture) {
    // Readers never write through it; bits() would copy a shared picture for nothing.
    return {const_cast<std::uint8_t*>(picture.constBits()), picture.width(), picture.height(),
            picture.bytesPerLine()};
}

PictureSlots::PictureSlots(const QImage& picture)
    : Original_(picture.isNull() ? QImage() : picture.convertToFormat(QImage::Format_RGB32)) {
    picOrig_ = Original_;
    picDest_ = Original_;
    NewImage_ = Original_;
    Picture1_ = picDest_;
    picundo_ = NewImage_;
}

void PictureSlots::activate() {
    picOrig_ = Original_;
    picDest_ = Original_;
    NewImage_ = Original_;
}

QImage NewPicture(int width, int height) {
    if (width <= 0 || height <= 0 ||
        std::size_t(width) > (std::size_t(1) << 30) / std::size_t(height))
        return {};
    const std::size_t bytes = std::size_t(width) * std::size_t(height) * 4;
    // Small pictures are not worth a whole huge page.
    const bool huge = bytes >= kHugePage;
    const std::size_t rounded = huge ? (bytes + kHugePage - 1) / kHugePage * kHugePage : bytes;
    void* pixels = huge ? std::aligned_alloc(kHugePage, rounded) : std::malloc(bytes);
    if (!pixels)
        return {};
#if defined(MADV_HUGEPAGE)
    if (huge)
        madvise(pixels, rounded, MADV_HUGEPAGE);
#endif
    return QImage(static_cast<uchar*>(pixels), width, height, qsizetype(width) * 4,
                  QImage::Format_RGB32, releasePicture, pixels);
}

QImage PictureSlots::ownCopy(const QImage& picture) {
    if (picture.isNull())
        return {};
    QImage copy = NewPicture(picture.width(), picture.height());
    if (copy.isNull())
        return {};
    const std::size_t rowBytes = std::size_t(picture.width()) * 4;
    for (int y = 0; y < picture.height(); ++y)
        std::memcpy(copy.scanLine(y), picture.constScanLine(y), rowBytes);
    return copy;
}

QImage PictureSlots::beginChange() {
    QImage previous = picundo_;
    picundo_ = NewImage_;
    return previous;
}

CommandResult PictureSlots::applyFilter(int code, std::int32_t parameter, std::int32_t& progress,
                                        const imaging::EventHook& letInterfaceRun) {
    const QImage previousUndo = beginChange();
    const QImage previousWork = Picture1_;
    auto putBack = [&] {
        picundo_ = previousUndo;
        Picture1_ = previousWork;
    };
    Picture1_ = ownCopy(NewImage_);
    if (Picture1_.isNull() && !NewImage_.isNull()) {
        putBack();
        return failed(NoMemoryMessage);
    }
    const imaging::FilterOutcome outcome =
        imaging::ApplyFilter(code, viewOf(Picture1_), parameter, progress, letInterfaceRun);
    if (!outcome.ok()) {
        putBack();
        if (outcome.status == imaging::FilterOutcome::Status::Cancelled)
            return {CommandResult::Status::Cancelled, {}};
        return failed(QString::fromStdString(outcome.message));
    }
    picDest_ = Picture1_;
    NewImage_ = picDest_;
    return {};
}

CommandResult PictureSlots::brightness(int level) {
    const QImage previousUndo = beginChange();
    QImage adjusted;
    if (!picDest_.isNull()) {
        adjusted = NewPicture(picDest_.width(), picDest_.height());
        if (adjusted.isNull()) {
            picundo_ = previousUndo;
            return failed(NoMemoryMessage);
        }
        AdjustBrightness(readView(picDest_), viewOf(adjusted), level);
    }
    Picture1_ = adjusted;
    NewImage_ = Picture1_;
    picDest_ = NewImage_;
    return {};
}

CommandResult PictureSlots::rotate() {
    const QImage previousUndo = beginChange();
    const QImage previousPaint = picpaint_, previousEffect = picimageeffect_;
    picpaint_ = picDest_;
    // The source surface takes the picture; the destination takes its size with the sides
    // swapped.
    picimageeffect_ = picpaint_;
    QImage turned;
    if (!picimageeffect_.isNull()) {
        const PictureSize size = QuarterTurnSize(picimageeffect_.width(), picimageeffect_.height());
        turned = NewPicture(size.width, size.height);
        if (turned.isNull()) {
            picundo_ = previousUndo;
            picpaint_ = previousPaint;
            picimageeffect_ = previousEffect;
            return failed(NoMemoryMessage);
        }
        RotateQuarter(readView(picimageeffect_), viewOf(turned));
    }
    picpaint_ = turned;
    picDest_ = picpaint_;
    NewImage_ = picDest_;
    return {};
}

CommandResult PictureSlots::mirror() {
    return reflect(MirrorPicture);
}

CommandResult PictureSlots::flip() {
    return reflect(FlipPicture);
}

CommandResult PictureSlots::reflect(void (*transform)(const BitmapView&, const BitmapView&)) {
    const QImage previousUndo = beginChange();
    QImage reflected;
    if (!picDest_.isNull()) {
        reflected = NewPicture(picDest_.width(), picDest_.height());
        if (reflected.isNull()) {
            picundo_ = previousUndo;
            return failed(NoMemoryMessage);
        }
        transform(readView(picDest_), viewOf(reflected));
    }
    picDest_ = reflected;
    NewImage_ = picDest_;
    return {};
}

CommandResult PictureSlots::undo() {
    picDest_ = picundo_;
    NewImage_ = picundo_;
    return {};
}

} // namespace editor
