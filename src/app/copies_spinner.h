#pragma once
// The copies spinner: an up arrow that increases and a down arrow that
// decreases a value kept within 1 … 5.

#include <QWidget>

class QToolButton;

class CopiesSpinner : public QWidget {
    Q_OBJECT
  public:
    static constexpr int Minimum = 1;
    static constexpr int Maximum = 5;

    explicit CopiesSpinner(QWidget* parent = nullptr);
    int value() const { return m_value; }
    void setValue(int value);
    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }

  signals:
    void valueChanged(int value);

  private:
    int m_value = Minimum;
    QToolButton* m_up;
    QToolButton* m_down;
};
