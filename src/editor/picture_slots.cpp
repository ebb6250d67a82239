#include "editor/picture_slots.h"

#include "editor/transforms.h"

namespace editor {

namespace {

const QString NoMemoryMessage = QStringLiteral("Not enough memory to change this picture.");

CommandResult failed(const QString& message) {
    return {CommandResult::Status::Failed, message};
}

} // namespace

imaging::BitmapView viewOf(QImage& picture) {
    return {picture.bits(), picture.width(), picture.height(), picture.bytesPerLine()};
}

imaging::BitmapView viewOf(const QImage& picture) {
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

QImage PictureSlots::ownCopy(const QImage& picture) {
    return picture.isNull() ? QImage() : picture.copy();
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
        adjusted = QImage(picDest_.size(), QImage::Format_RGB32);
        if (adjusted.isNull()) {
            picundo_ = previousUndo;
            return failed(NoMemoryMessage);
        }
        AdjustBrightness(viewOf(picDest_), viewOf(adjusted), level);
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
    // The source surface takes the picture; the destination keeps the size, cleared, and
    // swaps its sides for the quarter turn.
    picimageeffect_ = picpaint_;
    QImage turned;
    if (!picimageeffect_.isNull()) {
        const PictureSize size = QuarterTurnSize(picimageeffect_.width(), picimageeffect_.height());
        turned = QImage(size.width, size.height, QImage::Format_RGB32);
        if (turned.isNull()) {
            picundo_ = previousUndo;
            picpaint_ = previousPaint;
            picimageeffect_ = previousEffect;
            return failed(NoMemoryMessage);
        }
        RotateQuarter(viewOf(picimageeffect_), viewOf(turned), kSurfaceBackground);
    }
    picpaint_ = turned;
    picDest_ = picpaint_;
    NewImage_ = picDest_;
    return {};
}

CommandResult PictureSlots::mirror() {
    const QImage previousUndo = beginChange();
    QImage reflected;
    if (!picDest_.isNull()) {
        reflected = QImage(picDest_.size(), QImage::Format_RGB32);
        if (reflected.isNull()) {
            picundo_ = previousUndo;
            return failed(NoMemoryMessage);
        }
        MirrorPicture(viewOf(picDest_), viewOf(reflected));
    }
    picDest_ = reflected;
    NewImage_ = picDest_;
    return {};
}

CommandResult PictureSlots::flip() {
    const QImage previousUndo = beginChange();
    QImage reflected;
    if (!picDest_.isNull()) {
        reflected = QImage(picDest_.size(), QImage::Format_RGB32);
        if (reflected.isNull()) {
            picundo_ = previousUndo;
            return failed(NoMemoryMessage);
        }
        FlipPicture(viewOf(picDest_), viewOf(reflected));
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
