// The paper each printer is given is remembered per printer and checked
// against what the printer offers now: the photo printer and the folder
// printer's PPD queue of the private scheduler.
#include "common/ini_file.h"
#include "common/paths.h"
#include "photo_fixture.h"
#include "print/paper_memory.h"

using namespace testcups;

namespace {

[[maybe_unused]] auto* env = ::testing::AddGlobalTestEnvironment(new Environment);

using PaperMemory = PhotoPrinterTest;

print::PrinterOptions optionsOf(const QString& queue) {
    QString error;
    const auto options = print::printerOptions(queue, &error);
    EXPECT_TRUE(options) << error.toStdString();
    return options.value_or(print::PrinterOptions{});
}

} // namespace

namespace print {
void PrintTo(const PaperChoice& c, std::ostream* os) {
    *os << '{' << c.size.toStdString() << (c.borderless ? " borderless" : "") << ", "
        << c.type.toStdString() << ", " << c.quality.toStdString() << ", " << c.source.toStdString()
        << ", " << c.colourMode.toStdString() << '}';
}
} // namespace print

TEST_F(PaperMemory, FirstTimeTheDefaultSizeOnGlossyPhotoPaperAtBestQualityInColour) {
    const print::PrinterOptions photoOptions = optionsOf(kPhotoQueue);
    const print::PaperChoice first = print::firstPaper(photoOptions);
    EXPECT_EQ(first, (print::PaperChoice{"na_letter_8.5x11in", false, "photographic-glossy", "5",
                                         "", "color"}));
    EXPECT_EQ(print::rememberedPaper(kPhotoQueue, photoOptions), first);
    EXPECT_EQ(print::paperInWords(first, photoOptions), "Letter, glossy photo paper, best quality");

    // The PPD queue names no paper type: its default size, as it comes.
    const print::PrinterOptions ppd = optionsOf(printer().name);
    EXPECT_EQ(print::firstPaper(ppd).size, "na_letter_8.5x11in");
    EXPECT_TRUE(print::firstPaper(ppd).type.isEmpty());
}

TEST_F(PaperMemory, EachPrinterKeepsItsOwnPaperBesideTheMainSettings) {
    IniFile settings(paths::settingsFile());
    ASSERT_TRUE(settings.write("MAIN", "Copies", "3"));
    const print::PrinterOptions photoOptions = optionsOf(kPhotoQueue);
    const print::PaperChoice card{"na_index-4x6_4x6in", true, "photographic-matte", "3", "photo",
                                  "monochrome"};
    QString error;
    ASSERT_TRUE(print::rememberPaper(kPhotoQueue, card, &error)) << error.toStdString();
    QString notice = "stale";
    EXPECT_EQ(print::rememberedPaper(kPhotoQueue, photoOptions, &notice), card);
    EXPECT_TRUE(notice.isEmpty());
    EXPECT_EQ(print::paperInWords(card, photoOptions),
              "4x6 borderless, matte photo paper, draft quality, photo tray, grayscale");

    // "" is the default queue, the folder printer, remembered under its own name.
    const print::PrinterOptions ppd = optionsOf(printer().name);
    EXPECT_EQ(print::rememberedPaper("", ppd), print::firstPaper(ppd));
    print::PaperChoice a4 = print::firstPaper(ppd);
    a4.size = "iso_a4_210x297mm";
    ASSERT_TRUE(print::rememberPaper("", a4, &error)) << error.toStdString();
    EXPECT_EQ(print::rememberedPaper(printer().name, ppd), a4);
    EXPECT_EQ(print::rememberedPaper(kPhotoQueue, photoOptions), card);
    EXPECT_EQ(settings.read("MAIN", "Copies"), "3");
}

TEST_F(PaperMemory, PaperThePrinterNoLongerOffersFallsBackAndIsSaidInWords) {
    const print::PrinterOptions photoOptions = optionsOf(kPhotoQueue);
    ASSERT_TRUE(print::rememberPaper(
        kPhotoQueue, {"na_legal_8.5x14in", false, "photographic-satin", "4", "photo", "color"}));
    QString notice;
    EXPECT_EQ(print::rememberedPaper(kPhotoQueue, photoOptions, &notice),
              (print::PaperChoice{"na_letter_8.5x11in", false, "photographic-glossy", "4", "photo",
                                  "color"}));
    EXPECT_EQ(notice, "The printer parvello-photo no longer offers Legal, satin photo paper: "
                      "Parvello uses Letter, glossy photo paper instead.");
}

TEST_F(PaperMemory, SettingsThatCannotBeWrittenAreRefusedWithTheReason) {
    // A folder where the file should be: it cannot be replaced.
    ASSERT_TRUE(QDir().mkpath(paths::settingsFile()));
    QString error;
    EXPECT_FALSE(print::rememberPaper(kPhotoQueue, {}, &error));
    EXPECT_TRUE(error.startsWith("The paper for parvello-photo could not be remembered: " +
                                 paths::settingsFile() + " cannot be written"))
        << error.toStdString();
}
