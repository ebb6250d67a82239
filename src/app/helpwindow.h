#pragma once
// The help window: the help pages shipped in data/help, opened at their table
// of contents. One window serves every request; it closes with the program.

#include <QWidget>

class QTextBrowser;

class HelpWindow : public QWidget {
    Q_OBJECT
  public:
    explicit HelpWindow(QWidget* owner = nullptr);

    // Goes to the table of contents (index.html).
    void showContents();
    QTextBrowser* browser() const { return m_browser; }

  private:
    QTextBrowser* m_browser;
};

// Shows the help window at its table of contents, creating it when needed
// and bringing it forward when it is already open. The window stays above
// owner, the main window. Returns the window.
HelpWindow* showHelpContents(QWidget* owner = nullptr);

// Closes every help window; the main window calls it at shutdown.
void closeAllHelpWindows();
