#include "print/frmPrintSingle.h"

#include "common/units.h"
#include "print/captions.h"
#include "print/fit_check.h"
#include "print/layouts.h"
#include "print/print_routine.h"
#include "print/printer.h"
#include "print/soft_prints.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

namespace print {

namespace {

// Where each size's option sits in the frame, in twips.
struct OptionPlace {
    int left;
    int width;
};
constexpr OptionPlace kSizeOptions[kSingleSizes.size()] = {
    {120, 735}, {960, 615}, {1800, 615}, {2520, 735}, {3360, 975}};

void place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(units::toScreenPixels(left, top, width, height));
}

// Widens a control to its caption, which may need more than its twips.
void fit(QWidget* w) {
    w->resize(std::max(w->width(), w->sizeHint().width()), w->height());
}

} // namespace

frmPrintSingle::frmPrintSingle(notify::Prompt& prompt, const QImage& picture, QWidget* mainWindow,
                               QWidget* parent)
    // No Qt parent: a child window would be disabled together with the main
    // window. `parent` only decides where the dialog opens and how long it lives.
    : QDialog(nullptr), m_prompt(prompt), m_picture(picture), m_mainWindow(mainWindow) {
    setObjectName("frmPrintSingle");
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle("Print Single Picture");
    setFixedSize(units::toScreenPixels(4680), units::toScreenPixels(5940));
    // The form is laid out for a small dialog font; captions must still fit.
    QFont small = font();
    small.setPointSizeF(8);
    setFont(small);

    picOrig = new QLabel(this);
    picOrig->setObjectName("picOrig");
    picOrig->setAlignment(Qt::AlignCenter);
    picOrig->setToolTip("Picture to print.");
    place(picOrig, 120, 120, 4455, 3975);
    if (!m_picture.isNull())
        m_screenCopy = m_picture.scaled(picOrig->size() * 2 * picOrig->devicePixelRatioF(),
                                        Qt::KeepAspectRatio, Qt::SmoothTransformation);

    buildSizeChoices();
    buildTurnChoices();
    showPrint();

    Command1 = new QPushButton("&Print", this);
    Command1->setObjectName("Command1");
    Command1->setToolTip("Print Picture");
    place(Command1, 480, 5520, 1575, 375);
    Command2 = new QPushButton("&Cancel", this);
    Command2->setObjectName("Command2");
    Command2->setToolTip("Cancel");
    place(Command2, 2640, 5520, 1575, 375);
    connect(Command1, &QPushButton::clicked, this, &frmPrintSingle::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmPrintSingle::Command2_Click);

    // The main window stays disabled while this dialog is open, also after
    // the confirmation popup has come and gone.
    if (parent) {
        connect(parent, &QObject::destroyed, this, &QObject::deleteLater);
        const QRect owner = parent->window()->frameGeometry();
        move(owner.center() - rect().center());
    }
    m_hold.emplace(m_mainWindow);
}

void frmPrintSingle::buildSizeChoices() {
    Frame1 = new QGroupBox("Picture Size", this);
    Frame1->setObjectName("Frame1");
    place(Frame1, 120, 4200, 4455, 855);
    auto* sizes = new QButtonGroup(this);
    for (int i = 0; i < int(kSingleSizes.size()); ++i) {
        const QString caption = print::caption(kSingleSizes[size_t(i)].caption);
        Option1[size_t(i)] = new QRadioButton('&' + caption, Frame1);
        Option1[size_t(i)]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        Option1[size_t(i)]->setToolTip(QStringLiteral("Select %1 Picture").arg(caption));
        place(Option1[size_t(i)], kSizeOptions[i].left, 360, kSizeOptions[i].width, 255);
        fit(Option1[size_t(i)]);
        sizes->addButton(Option1[size_t(i)], i);
    }
    Option1[0]->setChecked(true);
    connect(sizes, &QButtonGroup::idClicked, this, &frmPrintSingle::showPrint);
}

void frmPrintSingle::buildTurnChoices() {
    auto* turns = new QButtonGroup(this);
    Option2[0] = new QRadioButton("&Vertical", this);
    Option2[0]->setObjectName("Option2_0");
    Option2[0]->setToolTip("Print Vertical");
    place(Option2[0], 1440, 5160, 855, 255);
    Option2[1] = new QRadioButton("&Horizontal", this);
    Option2[1]->setObjectName("Option2_1");
    Option2[1]->setToolTip("Print Horizontal");
    place(Option2[1], 2400, 5160, 1095, 255);
    fit(Option2[0]);
    fit(Option2[1]);
    turns->addButton(Option2[0], 0);
    turns->addButton(Option2[1], 1);
    Option2[0]->setChecked(true);
    connect(turns, &QButtonGroup::idClicked, this, &frmPrintSingle::showPrint);
}

frmPrintSingle::~frmPrintSingle() = default;

int frmPrintSingle::selectedSize() const {
    for (int i = 0; i < int(Option1.size()); ++i)
        if (Option1[size_t(i)]->isChecked())
            return i;
    return 0;
}

bool frmPrintSingle::horizontal() const {
    return !Option2[0]->isChecked();
}

void frmPrintSingle::setPrintOptions(const PrintOptions& options, const imaging::Framing& framing) {
    m_options = options;
    m_framing = framing;
    showPrint();
}

void frmPrintSingle::showPrint() {
    if (m_screenCopy.isNull())
        return;
    // The print's shape, as large as the box holds, filled as it will print.
    const QSizeF twips = singleCell(selectedSize(), horizontal()).size();
    // At the screen's own pixels, shown at the logical size.
    const qreal ratio = picOrig->devicePixelRatioF();
    const QSize shown = twips.scaled(QSizeF(picOrig->size()) * ratio, Qt::KeepAspectRatio).toSize();
    QPixmap print = QPixmap::fromImage(
        fillCell(m_screenCopy, twips, shown, {m_options.fill, m_options.turnToFit, m_framing}));
    print.setDevicePixelRatio(ratio);
    picOrig->setPixmap(print);
}

void frmPrintSingle::Command1_Click() {
    // A second "Print" while a popup is up asks again once that has gone.
    askAndPrint(
        m_prompt, m_mainWindow,
        [this](const Paper& paper) {
            QStringList warnings;
            if (const QString cut = singleFitWarning(paper, selectedSize(), horizontal());
                !cut.isEmpty())
                warnings << cut;
            if (const QString soft =
                    softSingleWarning(m_picture.size(), selectedSize(), horizontal(),
                                      {m_options.fill, m_options.turnToFit, m_framing});
                !soft.isEmpty())
                warnings << soft;
            return warnings;
        },
        // The size and the turn as they are once the question is answered,
        // as they were asked about if the dialog has been closed meanwhile.
        [dialog = QPointer<frmPrintSingle>(this), picture = m_picture, size = selectedSize(),
         turned = horizontal(), options = m_options, framing = m_framing] {
            return std::vector<SheetOrder>{
                dialog ? singleOrder(picture, dialog->selectedSize(), dialog->horizontal(), options,
                                     framing)
                       : singleOrder(picture, size, turned, options, framing)};
        });
}

void frmPrintSingle::Command2_Click() {
    close();
}

void frmPrintSingle::closeEvent(QCloseEvent* event) {
    m_hold.reset();
    QDialog::closeEvent(event);
}

} // namespace print
