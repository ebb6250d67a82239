#pragma once
// The picture browser's file list: the pictures of the current folder, each
// as its thumbnail with its name beside it, following the folder as it
// changes (see FileListModel).

#include "app/file_list_model.h"

#include <QListView>
#include <QTimer>

class FileList : public QListView {
    Q_OBJECT
  public:
    explicit FileList(QWidget* parent = nullptr);
    QString path() const { return m_files.folder(); }
    // Returns false and keeps the list as it was when the folder cannot be read.
    bool setPath(const QString& path);
    void refresh();
    // Selects the named file, as a click would (for tests and keyboard use).
    bool selectFile(const QString& name);
    // The names listed, in their order.
    QStringList names() const { return m_files.names(); }
    // The selected files, with their folder.
    QStringList selectedFiles() const;

  signals:
    // The user chose the selected file: a click, Enter or Space. Once a
    // gesture: a double-click, or the click of a single-click desktop, also
    // "activates" the item, which must not load the picture a second time.
    void fileChosen();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void askForShownRows();

    FileListModel m_files;
    QTimer m_shownRows; // gathers scrolling, resizing and new rows into one request
};
