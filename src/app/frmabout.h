#pragma once
// The about box: the version and the maker over the program's own picture.
// Shown modally; a click on the picture, "Close" or Escape closes it (a click
// on the text does not).

#include <QDialog>
#include <QPixmap>

class QLabel;
class QPushButton;

class frmAbout : public QDialog {
    Q_OBJECT
  public:
    explicit frmAbout(QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Form_Click();

    QPixmap m_background;
    bool m_pressed = false;
    QLabel* lblVersion;
    QLabel* lblNotice;
    QPushButton* cmdClose;
};
