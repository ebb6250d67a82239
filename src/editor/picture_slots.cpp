#include "editor/picture_slots.h"

#include "imaging/transforms.h"

#include <cstring>

namespace editor {

namespace {

const QString NoMemoryMessage = QStringLiteral("Not enough memory to change this picture.");

CommandResult failed(const QString& message) {
    return {CommandResult::Status::Failed, message};
}

} // namespace

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
        imaging::AdjustBrightness(readView(picDest_), viewOf(adjusted), level);
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
        const imaging::PictureSize size =
            imaging::QuarterTurnSize(picimageeffect_.width(), picimageeffect_.height());
        turned = NewPicture(size.width, size.height);
        if (turned.isNull()) {
            picundo_ = previousUndo;
            picpaint_ = previousPaint;
            picimageeffect_ = previousEffect;
            return failed(NoMemoryMessage);
        }
        imaging::RotateQuarter(readView(picimageeffect_), viewOf(turned));
    }
    picpaint_ = turned;
    picDest_ = picpaint_;
    NewImage_ = picDest_;
    return {};
}

CommandResult PictureSlots::mirror() {
    return reflect(imaging::MirrorPicture);
}

CommandResult PictureSlots::flip() {
    return reflect(imaging::FlipPicture);
}

CommandResult PictureSlots::reflect(void (*transform)(const imaging::BitmapView&,
                                                      const imaging::BitmapView&)) {
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
