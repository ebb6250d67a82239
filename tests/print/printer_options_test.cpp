// What a printer offers, read through CUPS: a photo printer that speaks IPP
// Everywhere behind a driverless queue, and the folder printer's PPD queue.
#include "photo_fixture.h"
#include "print/printer_options.h"

using namespace testcups;

namespace {

[[maybe_unused]] auto* env = ::testing::AddGlobalTestEnvironment(new Environment);

constexpr double kInch = 72; // points

struct SizeRow {
    QString name;
    double width, length; // points
    double margin;        // on every side, points
    bool borderless;
};

bool operator==(const SizeRow& a, const SizeRow& b) {
    return a.name == b.name && a.borderless == b.borderless && qAbs(a.width - b.width) < 0.01 &&
           qAbs(a.length - b.length) < 0.01 && qAbs(a.margin - b.margin) < 0.01;
}

void PrintTo(const SizeRow& r, std::ostream* os) {
    *os << r.name.toStdString() << ' ' << r.width << 'x' << r.length << " margin " << r.margin
        << (r.borderless ? " borderless" : "");
}

// Each size as a row; the margins must be alike on every side.
std::vector<SizeRow> rows(const print::PrinterOptions& o) {
    std::vector<SizeRow> rows;
    for (const print::PaperSize& s : o.sizes) {
        const QMarginsF m = s.paper.margins;
        EXPECT_TRUE(m.left() == m.top() && m.top() == m.right() && m.right() == m.bottom())
            << s.paper.name.toStdString();
        rows.push_back(
            {s.paper.name, s.paper.size.width(), s.paper.size.height(), m.left(), s.borderless});
    }
    std::sort(rows.begin(), rows.end(), [](const SizeRow& a, const SizeRow& b) {
        return std::tie(a.name, a.borderless) < std::tie(b.name, b.borderless);
    });
    return rows;
}

QStringList listed(const std::vector<print::OptionValue>& values) {
    QStringList list;
    for (const print::OptionValue& v : values)
        list << v.value + '=' + v.caption;
    return list;
}

using PrinterOptionsTest = PhotoPrinterTest;

} // namespace

TEST_F(PrinterOptionsTest, PhotoPrinterOffersItsPapersQualitiesAndTrays) {
    QString error;
    const auto o = print::printerOptions(kPhotoQueue, &error);
    ASSERT_TRUE(o) << error.toStdString();
    // Every size with the printer's sixth of an inch at the edges, and borderless.
    const double a4w = 210 / 25.4 * kInch, a4l = 297 / 25.4 * kInch, edge = 4.23 / 25.4 * kInch;
    EXPECT_EQ(rows(*o), (std::vector<SizeRow>{
                            {"iso_a4_210x297mm", a4w, a4l, edge, false},
                            {"iso_a4_210x297mm", a4w, a4l, 0, true},
                            {"na_5x7_5x7in", 5 * kInch, 7 * kInch, edge, false},
                            {"na_5x7_5x7in", 5 * kInch, 7 * kInch, 0, true},
                            {"na_index-4x6_4x6in", 4 * kInch, 6 * kInch, edge, false},
                            {"na_index-4x6_4x6in", 4 * kInch, 6 * kInch, 0, true},
                            {"na_letter_8.5x11in", 8.5 * kInch, 11 * kInch, edge, false},
                            {"na_letter_8.5x11in", 8.5 * kInch, 11 * kInch, 0, true},
                        }));
    for (const print::PaperSize& s : o->sizes)
        EXPECT_EQ(s.caption.endsWith(" (Borderless)"), s.borderless) << s.caption.toStdString();

    EXPECT_EQ(listed(o->types),
              QStringList({"stationery=Plain Paper", "photographic-glossy=Glossy Photo Paper",
                           "photographic-matte=Matte Photo Paper"}));
    EXPECT_EQ(listed(o->qualities), QStringList({"3=Draft", "4=Normal", "5=High"}));
    EXPECT_EQ(listed(o->sources), QStringList({"main=Main Tray", "photo=Photo Tray"}));
    EXPECT_TRUE(listed(o->colourModes).contains("color=Color"));
    EXPECT_TRUE(listed(o->colourModes).contains("monochrome=Grayscale"));

    ASSERT_GE(o->defaultSize, 0);
    EXPECT_EQ(o->sizes[size_t(o->defaultSize)].paper.name, "na_letter_8.5x11in");
    EXPECT_FALSE(o->sizes[size_t(o->defaultSize)].borderless);
    EXPECT_EQ(o->defaultQuality, "4");
    EXPECT_EQ(o->defaultColourMode, "color");
}

TEST_F(PrinterOptionsTest, PpdQueueOffersItsPapersWithTheirPrintableArea) {
    QString error;
    const auto o = print::printerOptions(printer().name, &error);
    ASSERT_TRUE(o) << error.toStdString();
    ASSERT_EQ(o->sizes.size(), 2u);
    const testsvc::FolderPrinter& p = printer();
    for (const print::PaperSize& s : o->sizes) {
        EXPECT_FALSE(s.borderless);
        // The PPD's imageable area, to CUPS' hundredths of a millimetre.
        const QMarginsF m = s.paper.margins;
        EXPECT_NEAR(m.left(), p.left, 0.03);
        EXPECT_NEAR(m.top(), p.top, 0.03);
        EXPECT_NEAR(m.right(), p.right, 0.03);
        EXPECT_NEAR(m.bottom(), p.bottom, 0.03);
    }
    ASSERT_GE(o->defaultSize, 0);
    const print::Paper& letter = o->sizes[size_t(o->defaultSize)].paper;
    EXPECT_EQ(letter.name, "na_letter_8.5x11in");
    EXPECT_NEAR(letter.size.width(), 8.5 * kInch, 0.03);
    EXPECT_NEAR(letter.size.height(), 11 * kInch, 0.03);
    EXPECT_TRUE(o->types.empty());
    EXPECT_TRUE(o->sources.empty());
}

TEST_F(PrinterOptionsTest, UnknownQueueIsNamedInTheError) {
    QString error;
    EXPECT_FALSE(print::printerOptions("parvello-sold", &error));
    EXPECT_EQ(error, "The printer parvello-sold is no longer set up. Choose another printer.");
}
