#include "editor/edited_picture.h"

#include "imaging/transforms.h"

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

CommandResult EditedPicture::takeFiltered(FilteredPicture filtered) {
    if (filtered.result.done())
        advance(std::move(filtered.picture));
    return filtered.result;
}

void EditedPicture::advance(QImage next) {
    m_history.push_back(std::move(m_current));
    m_current = std::move(next);
    qsizetype bytes = 0;
    for (const QImage& state : m_history)
        bytes += state.sizeInBytes();
    while (m_history.size() > 1 && (m_history.size() > kUndoSteps || bytes > kUndoBytes)) {
        bytes -= m_history.front().sizeInBytes();
        m_history.pop_front();
    }
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
    advance(std::move(changed));
    return {};
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
    if (!m_history.empty()) {
        m_current = std::move(m_history.back());
        m_history.pop_back();
    }
    return {};
}

} // namespace editor
