#include "notify/alert_sound.h"

#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace notify {

AlertSound::AlertSound(QString file) : m_file(std::move(file)) {}

AlertSound::~AlertSound() = default;

void AlertSound::play() {
    if (!QFileInfo(m_file).isFile())
        return;
    if (QMediaDevices::defaultAudioOutput().isNull())
        return;
    if (!m_effect) {
        m_effect = std::make_unique<QSoundEffect>();
        m_effect->setSource(QUrl::fromLocalFile(m_file));
    }
    m_effect->play();
}

} // namespace notify
