#include "editor/edited_picture.h"

#include "imaging/transforms.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace editor {

namespace {

const QString NoMemoryMessage = QStringLiteral("Not enough memory to change this picture.");

CommandResult failed(const QString& message) {
    return {CommandResult::Status::Failed, message};
}

// A copy of `picture` whose pixels may be drawn on; null when it cannot be made.
QImage ownCopy(const QImage& picture) {
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

// The history's copy of a picture: its red, green and blue bytes, without the fourth byte that
// is always 0xFF. Null when it cannot be made.
QImage packed(const QImage& picture) {
    const int width = picture.width(), height = picture.height();
    QImage kept = NewPicture(width, height, QImage::Format_RGB888);
    if (kept.isNull())
        return {};
    for (int y = 0; y < height; ++y) {
        const QRgb* from = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        uchar* to = kept.scanLine(y);
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = from[x];
            to[3 * x] = uchar(qRed(pixel));
            to[3 * x + 1] = uchar(qGreen(pixel));
            to[3 * x + 2] = uchar(qBlue(pixel));
        }
    }
    return kept;
}

// The picture a history's copy was made from; null when it cannot be had.
QImage unpacked(const QImage& kept) {
    const int width = kept.width(), height = kept.height();
    QImage picture = NewPicture(width, height);
    if (picture.isNull())
        return {};
    for (int y = 0; y < height; ++y) {
        const uchar* from = kept.constScanLine(y);
        QRgb* to = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x)
            to[x] = qRgb(from[3 * x], from[3 * x + 1], from[3 * x + 2]);
    }
    return picture;
}

} // namespace

FilteredPicture RunFilter(const QImage& picture, int code, std::int32_t parameter,
                          std::int32_t& progress, const imaging::EventHook& hook) {
    // The engine works in place, on a copy of its own.
    QImage work = ownCopy(picture);
    if (work.isNull() && !picture.isNull())
        return {{}, failed(NoMemoryMessage)};
    const imaging::FilterOutcome outcome =
        imaging::ApplyFilter(code, viewOf(work), parameter, progress, hook);
    if (outcome.status == imaging::FilterOutcome::Status::Cancelled)
        return {{}, {CommandResult::Status::Cancelled, {}}};
    if (!outcome.ok())
        return {{}, failed(QString::fromStdString(outcome.message))};
    return {work, {}};
}

EditedPicture::EditedPicture(const QImage& picture)
    : m_original(picture.isNull() ? QImage() : picture.convertToFormat(QImage::Format_RGB32)),
      m_current(m_original) {}

void EditedPicture::activate() {
    m_current = m_original;
}

std::size_t UndoDepth(qsizetype stateBytes) {
    return std::clamp(std::size_t(kUndoBytes / stateBytes), std::size_t(1), kUndoSteps);
}

CommandResult EditedPicture::takeFiltered(FilteredPicture filtered) {
    // As with the toolbar's commands, an empty editor has nothing to undo.
    if (!filtered.result.done() || m_current.isNull())
        return filtered.result;
    return advance(std::move(filtered.picture));
}

CommandResult EditedPicture::advance(QImage next) {
    QImage kept = packed(m_current);
    if (kept.isNull())
        return failed(NoMemoryMessage);
    m_history.push_back(std::move(kept));
    m_current = std::move(next);
    // Every state of a picture has as many pixels: nothing here changes the size.
    while (m_history.size() > UndoDepth(m_history.back().sizeInBytes()))
        m_history.pop_front();
    return {};
}

CommandResult EditedPicture::change(
    int width, int height,
    const std::function<void(const imaging::BitmapView&, const imaging::BitmapView&)>& transform) {
    // An empty editor has nothing to change, and nothing to undo.
    if (m_current.isNull())
        return {};
    QImage changed = NewPicture(width, height);
    if (changed.isNull())
        return failed(NoMemoryMessage);
    transform(readView(m_current), viewOf(changed));
    return advance(std::move(changed));
}

CommandResult EditedPicture::brightness(int level) {
    return change(m_current.width(), m_current.height(),
                  [level](const imaging::BitmapView& source, const imaging::BitmapView& target) {
                      imaging::AdjustBrightness(source, target, level);
                  });
}

CommandResult EditedPicture::rotate() {
    // The turned picture has the sides swapped.
    const imaging::PictureSize size =
        imaging::QuarterTurnSize(m_current.width(), m_current.height());
    return change(size.width, size.height, imaging::RotateQuarter);
}

CommandResult EditedPicture::mirror() {
    return change(m_current.width(), m_current.height(),
                  [](const imaging::BitmapView& source, const imaging::BitmapView& target) {
                      imaging::MirrorPicture(source, target);
                  });
}

CommandResult EditedPicture::flip() {
    return change(m_current.width(), m_current.height(),
                  [](const imaging::BitmapView& source, const imaging::BitmapView& target) {
                      imaging::FlipPicture(source, target);
                  });
}

CommandResult EditedPicture::undo() {
    if (m_history.empty())
        return {};
    QImage earlier = unpacked(m_history.back());
    if (earlier.isNull())
        return failed(NoMemoryMessage);
    m_current = std::move(earlier);
    m_history.pop_back();
    return {};
}

} // namespace editor
