// A file manager's drag in miniature, for the drop test: a window titled
// "Drag source" at the screen's top left that, pressed and moved, drags the
// file named on its command line as a text/uri-list over XDND.
#include <QApplication>
#include <QDrag>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

namespace {

class Source : public QLabel {
  public:
    explicit Source(const QString& file) : QLabel(file), m_file(file) {
        setWindowTitle("Drag source");
        setFixedSize(240, 120);
    }

  protected:
    void mouseMoveEvent(QMouseEvent* event) override {
        if (!(event->buttons() & Qt::LeftButton))
            return;
        auto* carried = new QMimeData;
        carried->setUrls({QUrl::fromLocalFile(m_file)});
        auto* drag = new QDrag(this);
        drag->setMimeData(carried);
        drag->exec(Qt::CopyAction);
    }

  private:
    QString m_file;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Source source(QApplication::arguments().value(1));
    source.move(0, 0);
    source.show();
    return QApplication::exec();
}
