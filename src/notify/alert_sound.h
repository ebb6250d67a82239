#pragma once
// The popup's chime, played without waiting. A missing file or no audio
// device only means no sound.

#include <QString>
#include <memory>

class QSoundEffect;

namespace notify {

class AlertSound {
  public:
    explicit AlertSound(QString file);
    ~AlertSound();
    void play();

  private:
    QString m_file;
    std::unique_ptr<QSoundEffect> m_effect;
};

} // namespace notify
