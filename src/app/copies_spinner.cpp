#include "app/copies_spinner.h"

#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>

CopiesSpinner::CopiesSpinner(QWidget* parent)
    : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this)) {
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {m_up, m_down}) {
        b->setAutoRepeat(true);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_up);
    layout->addWidget(m_down);
    connect(m_up, &QToolButton::clicked, this, [this] { setValue(m_value + 1); });
    connect(m_down, &QToolButton::clicked, this, [this] { setValue(m_value - 1); });
    m_up->setAccessibleName(QStringLiteral("More copies"));
    m_down->setAccessibleName(QStringLiteral("Fewer copies"));
}

void CopiesSpinner::keyPressEvent(QKeyEvent* event) {
    // The arrows pass on the Return they do not take themselves.
    QToolButton* focused = m_up->hasFocus() ? m_up : m_down->hasFocus() ? m_down : nullptr;
    if (focused && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter))
        focused->click();
    else
        QWidget::keyPressEvent(event);
}

void CopiesSpinner::setValue(int value) {
    value = std::clamp(value, Minimum, Maximum);
    if (value == m_value)
        return;
    m_value = value;
    emit valueChanged(value);
}
