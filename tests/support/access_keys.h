#pragma once
// The access keys (the letter after "&") of a set of captions, for tests that
// check no two controls of a window, or items of a menu, share one.

#include <QKeySequence>
#include <QStringList>

namespace testsupport {

// The access keys that more than one caption uses ("Alt+C"), none if each is
// unique; captions without one are passed over.
inline QStringList sharedAccessKeys(const QStringList& captions) {
    QStringList seen, shared;
    for (const QString& caption : captions) {
        const QString key = QKeySequence::mnemonic(caption).toString();
        if (key.isEmpty())
            continue;
        if (seen.contains(key) && !shared.contains(key))
            shared << key;
        seen << key;
    }
    return shared;
}

} // namespace testsupport
