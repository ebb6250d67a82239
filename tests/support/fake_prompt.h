#pragma once
// A Prompt for tests whose subject is not the popup: it keeps what it was
// told and asked, and answers each question as `answers` says, later, from
// the event loop, as the popup does.

#include "notify/prompt.h"

#include <QStringList>
#include <QTest>
#include <QTimer>

class FakePrompt : public notify::Prompt {
  public:
    bool answers = true;           // the answer every question gets
    QStringList told;              // the messages, in order
    QStringList asked;             // the questions, in order
    std::function<void()> preview; // the last print question's preview

    void tell(const QString& message) override { told << message; }
    void askPrint(const QString& message, Answer answered,
                  std::function<void()> offeredPreview = {}) override {
        preview = std::move(offeredPreview);
        ask(message, std::move(answered));
    }
    void askYesNo(const QString& message, Answer answered) override {
        ask(message, std::move(answered));
    }

    // Runs events until something has been told (for `ms` at most) and
    // gives the last message, or nothing.
    QString lastMessage(int ms = 60000) {
        (void)QTest::qWaitFor([&] { return !told.isEmpty(); }, ms);
        return told.isEmpty() ? QString() : told.last();
    }

  private:
    void ask(const QString& message, Answer answered) {
        asked << message;
        QTimer::singleShot(0, [answered = std::move(answered), yes = answers] { answered(yes); });
    }
};
