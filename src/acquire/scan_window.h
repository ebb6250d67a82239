#pragma once
// The scan settings window "Aquire" shows before scanning: resolution and
// mode as the scanner offers them, the scan area on a preview of the glass,
// what the scanner makes of them, and the scan itself with its progress. The
// scanner is read on a worker thread, so the window stays alive meanwhile.

#include "acquire/sanescanner.h"
#include "acquire/scan_settings.h"

#include <QDialog>
#include <QFutureWatcher>
#include <QTimer>
#include <atomic>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace acquire {

class AreaPicker;

class ScanWindow : public QDialog {
    Q_OBJECT
  public:
    // exec() gives Accepted with a picture, Rejected when the user cancelled
    // before scanning, or ScanEnded when a scan was cancelled or failed.
    static constexpr int ScanEnded = 2;

    ScanWindow(QWidget* owner, sane::Scanner& scanner, const QString& scannerLabel,
               const ScanChoice& start);
    ~ScanWindow() override;

    // The settings the scan ran with, as the scanner accepted them.
    ScanChoice choice() const { return m_accepted; }
    const sane::ScanResult& result() const { return m_result; }

    void reject() override; // "Cancel", Escape or the title bar: stops a running scan first

  private:
    void buildControls(const QString& scannerLabel);
    void connectControls();
    void fillResolutions(double wanted);
    ScanChoice wanted() const;
    void showArea(const QRectF& mm);
    void settingsChanged();
    void preview();
    void scan();
    void startScan(bool preview);
    void scanEnded();
    void showProgress();
    void setBusy(bool busy);

    sane::Scanner& m_scanner;
    Capabilities m_caps;
    ScanChoice m_accepted;
    sane::ScanResult m_result;
    bool m_scanning = false;
    bool m_previewing = false;
    bool m_updating = false;
    // Shared with the worker: the share of the page read (-1: unknown length)
    // and whether the user asked to stop.
    std::atomic<int> m_percent = 0;
    std::atomic<bool> m_cancelRequested = false;
    QFutureWatcher<sane::ScanResult> m_worker;
    QTimer m_progressTimer;

    QComboBox* m_resolution = nullptr;
    QComboBox* m_mode = nullptr;
    QDoubleSpinBox* m_area[4] = {}; // left, top, width, height in mm
    AreaPicker* m_picker = nullptr;
    QLabel* m_acceptedText = nullptr;
    QLabel* m_sizeText = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_previewButton = nullptr;
    QPushButton* m_scanButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};

} // namespace acquire
