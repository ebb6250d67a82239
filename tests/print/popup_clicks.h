#pragma once
// Answers the popup from inside a test that waits on it: clicks the given
// button as soon as the popup is loaded.

#include "notify/frmmsnpopup.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>

inline void clickWhenLoaded(QPushButton* notify::frmmsnpopup::*button, int delay = 30) {
    QTimer::singleShot(delay, [button] {
        auto& popup = notify::frmmsnpopup::instance();
        if (popup.isLoaded())
            QTest::mouseClick(popup.*button, Qt::LeftButton);
        else
            clickWhenLoaded(button);
    });
}
