#include "acquire/scan_window.h"

#include "acquire/area_picker.h"
#include "acquire/sharp_size.h"
#include "common/workers.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

namespace acquire {

namespace {

constexpr double previewDpi = 75;
const char* const areaNames[4] = {"areaLeft", "areaTop", "areaWidth", "areaHeight"};
const char* const areaCaptions[4] = {"Left", "Top", "Width", "Height"};

QString mm(double v) {
    return QString::number(v, 'f', 1);
}

} // namespace

ScanWindow::ScanWindow(QWidget* owner, sane::Scanner& scanner, const QString& scannerLabel,
                       const ScanChoice& start)
    : QDialog(owner), m_scanner(scanner), m_caps(scanner.capabilities()) {
    setObjectName("scanSettings");
    setWindowTitle(tr("Aquire"));
    setModal(true);

    buildControls(scannerLabel);

    m_updating = true;
    m_mode->setCurrentText(start.mode);
    fillResolutions(start.resolution);
    const QRectF glass = m_caps.glass(start.resolution);
    m_picker->setGlass(glass);
    for (int i = 0; i < 4; ++i)
        m_area[i]->setRange(0, i % 2 == 0 ? glass.right() : glass.bottom());
    showArea(start.area);
    m_updating = false;
    settingsChanged();

    connectControls();
    connect(&m_worker, &QFutureWatcher<sane::ScanResult>::finished, this, &ScanWindow::scanEnded);
    m_progressTimer.setInterval(50);
    connect(&m_progressTimer, &QTimer::timeout, this, &ScanWindow::showProgress);
}

ScanWindow::~ScanWindow() {
    // Reached during a scan only when the application quits meanwhile: the
    // worker must not outlive the scanner it reads.
    if (m_scanning) {
        m_cancelRequested = true;
        m_worker.waitForFinished();
    }
}

void ScanWindow::buildControls(const QString& scannerLabel) {
    m_picker = new AreaPicker(this);
    m_picker->setToolTip(tr("Drag a rectangle around the photo to scan"));

    m_resolution = new QComboBox(this);
    m_resolution->setObjectName("resolution");
    m_mode = new QComboBox(this);
    m_mode->setObjectName("mode");
    m_mode->addItems(m_caps.modes);
    m_mode->setEnabled(!m_caps.modes.isEmpty());

    auto* form = new QFormLayout;
    form->addRow(new QLabel(scannerLabel, this));
    form->addRow(tr("&Resolution:"), m_resolution);
    form->addRow(tr("&Mode:"), m_mode);
    for (int i = 0; i < 4; ++i) {
        m_area[i] = new QDoubleSpinBox(this);
        m_area[i]->setObjectName(areaNames[i]);
        m_area[i]->setSuffix(" mm");
        m_area[i]->setDecimals(1);
        m_area[i]->setEnabled(m_caps.hasArea);
        form->addRow(tr("&%1:").arg(areaCaptions[i]), m_area[i]); // Alt+L, T, W, H
    }
    m_acceptedText = new QLabel(this);
    m_acceptedText->setObjectName("accepted");
    m_acceptedText->setWordWrap(true);
    m_sizeText = new QLabel(this);
    m_sizeText->setObjectName("sizeLine");
    m_sizeText->setWordWrap(true);
    form->addRow(m_acceptedText);
    form->addRow(m_sizeText);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName("progress");
    m_progress->setRange(0, 100);
    m_progress->setVisible(false);
    form->addRow(m_progress);

    auto* buttons = new QDialogButtonBox(this);
    m_previewButton = buttons->addButton(tr("&Preview"), QDialogButtonBox::ActionRole);
    m_previewButton->setObjectName("Preview");
    m_scanButton = buttons->addButton(tr("&Scan"), QDialogButtonBox::AcceptRole);
    m_scanButton->setObjectName("Scan");
    m_scanButton->setDefault(true);
    m_cancelButton = buttons->addButton(tr("&Cancel"), QDialogButtonBox::RejectRole);
    m_cancelButton->setObjectName("Cancel");
    m_previewButton->setEnabled(m_caps.hasArea);

    auto* top = new QHBoxLayout;
    top->addWidget(m_picker, 1);
    top->addLayout(form);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
}

void ScanWindow::connectControls() {
    connect(m_resolution, &QComboBox::currentIndexChanged, this, &ScanWindow::settingsChanged);
    connect(m_mode, &QComboBox::currentIndexChanged, this, [this] {
        // Another mode may offer other resolutions.
        m_scanner.apply({0, m_mode->currentText(), {}});
        m_caps = m_scanner.capabilities();
        m_updating = true;
        fillResolutions(m_resolution->currentData().toDouble());
        m_updating = false;
        settingsChanged();
    });
    for (QDoubleSpinBox* box : m_area)
        connect(box, &QDoubleSpinBox::valueChanged, this, [this] {
            if (m_updating)
                return;
            m_picker->setArea(wanted().area);
            settingsChanged();
        });
    connect(m_picker, &AreaPicker::areaChanged, this, [this](const QRectF& area) {
        showArea(area);
        settingsChanged();
    });
    connect(m_previewButton, &QPushButton::clicked, this, &ScanWindow::preview);
    connect(m_scanButton, &QPushButton::clicked, this, &ScanWindow::scan);
    connect(m_cancelButton, &QPushButton::clicked, this, &ScanWindow::reject);
}

void ScanWindow::fillResolutions(double wanted) {
    m_resolution->clear();
    for (double dpi : resolutionChoices(m_caps.resolution))
        m_resolution->addItem(tr("%1 dpi").arg(dpi), dpi);
    const double pick = m_caps.resolution.nearest(wanted > 0 ? wanted : defaultResolution(m_caps));
    m_resolution->setCurrentIndex(qMax(0, m_resolution->findData(pick)));
    m_resolution->setEnabled(m_resolution->count() > 0);
}

ScanChoice ScanWindow::wanted() const {
    ScanChoice c;
    c.resolution = m_resolution->currentData().toDouble();
    c.mode = m_mode->currentText();
    if (m_caps.hasArea)
        c.area =
            QRectF(m_area[0]->value(), m_area[1]->value(), m_area[2]->value(), m_area[3]->value());
    return c;
}

void ScanWindow::showArea(const QRectF& area) {
    const bool was = m_updating;
    m_updating = true;
    m_picker->setArea(area);
    const QRectF shown = m_picker->area();
    const double values[4] = {shown.left(), shown.top(), shown.width(), shown.height()};
    for (int i = 0; i < 4; ++i)
        m_area[i]->setValue(values[i]);
    m_updating = was;
}

void ScanWindow::settingsChanged() {
    if (m_updating)
        return;
    // The scanner rounds to what it can do; show its answer, not our wish.
    m_accepted = m_scanner.apply(wanted());
    const QRectF a = m_accepted.area;
    QString text =
        tr("The scanner takes %1 dpi, %2").arg(m_accepted.resolution).arg(m_accepted.mode);
    if (m_caps.hasArea)
        text += tr(", %1 × %2 mm from %3, %4 mm")
                    .arg(mm(a.width()), mm(a.height()), mm(a.left()), mm(a.top()));
    m_acceptedText->setText(text + ".");
    const QSize pixels = m_scanner.announcedSize();
    m_sizeText->setText(pixels.width() > 0 && pixels.height() > 0 ? sharpSizeText(pixels)
                                                                  : QString());
}

void ScanWindow::setBusy(bool busy) {
    m_scanning = busy;
    m_cancelRequested = false;
    for (QWidget* w : std::initializer_list<QWidget*>{m_resolution, m_mode, m_picker,
                                                      m_previewButton, m_scanButton})
        w->setEnabled(!busy);
    for (QDoubleSpinBox* box : m_area)
        box->setEnabled(!busy && m_caps.hasArea);
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setVisible(busy);
}

void ScanWindow::startScan(bool preview) {
    setBusy(true);
    m_previewing = preview;
    m_percent = 0;
    m_progressTimer.start();
    m_worker.setFuture(QtConcurrent::run(workers::pool(), [this] {
        return m_scanner.scan([this](int percent) {
            m_percent = percent;
            return !m_cancelRequested;
        });
    }));
}

void ScanWindow::showProgress() {
    const int percent = m_percent;
    if (percent < 0)
        m_progress->setRange(0, 0); // a busy bar when the length is unknown
    else
        m_progress->setValue(percent);
}

void ScanWindow::scanEnded() {
    m_progressTimer.stop();
    setBusy(false);
    const sane::ScanResult shot = m_worker.result();
    if (!m_previewing) {
        m_result = shot;
        done(m_result.ok() ? Accepted : ScanEnded);
        return;
    }
    if (shot.ok())
        m_picker->setPreview(shot.image);
    else if (shot.outcome == sane::ScanResult::Outcome::Failed)
        m_sizeText->setText(tr("No preview: %1").arg(shot.error));
    if (isVisible())
        settingsChanged(); // back to the user's settings
}

void ScanWindow::preview() {
    const ScanChoice chosen = wanted();
    m_scanner.apply({m_caps.resolution.nearest(previewDpi), chosen.mode,
                     m_caps.glass(m_caps.resolution.nearest(previewDpi))});
    startScan(true);
}

void ScanWindow::scan() {
    settingsChanged();
    startScan(false);
}

void ScanWindow::reject() {
    if (m_scanning) {
        m_cancelRequested = true;
        return;
    }
    QDialog::reject();
}

} // namespace acquire
