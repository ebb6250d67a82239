#pragma once
// The copies spinner: an up arrow that increases and a down arrow that
// decreases a value kept within the copies a package may have (1 … 5).
// Tab reaches each arrow; Space or Return presses it.

#include "print/print_options.h"

#include <QWidget>

class QToolButton;

class CopiesSpinner : public QWidget {
    Q_OBJECT
  public:
    static constexpr int Minimum = print::kMinCopies;
    static constexpr int Maximum = print::kMaxCopies;

    explicit CopiesSpinner(QWidget* parent = nullptr);
    int value() const { return m_value; }
    void setValue(int value);
    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }

  signals:
    void valueChanged(int value);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    int m_value = Minimum;
    QToolButton* m_up;
    QToolButton* m_down;
};
