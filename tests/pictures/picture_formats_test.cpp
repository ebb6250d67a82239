// The format table as the browser and the save dialog meet it.
#include "pictures/picture_formats.h"

#include <gtest/gtest.h>

using namespace pictures;

TEST(PictureFormats, TheBrowserListsEveryFormatWeReadWhateverItsCase) {
    for (const char* name :
         {"photo.jpg", "PHOTO.JPG", "a.Jpeg", "b.gif",  "c.BMP",  "d.ico",  "e.WMF",  "x.y.jpg",
          "f.png",     "g.TIF",     "h.tiff", "i.WebP", "j.HEIC", "k.heif", "l.avif", "m.DNG",
          "n.cr2",     "o.CR3",     "p.nef",  "q.ARW",  "r.orf",  "s.RAF",  "t.rw2"})
        EXPECT_TRUE(isReadableName(name)) << name;
    // Nor the other names "Save" takes.
    for (const char* name :
         {"photo.dib", "photo.jpe", "jpg", "notes.txt", "photo.jpg.bak", "photojpg", ".jpgx"})
        EXPECT_FALSE(isReadableName(name)) << name;
}

TEST(PictureFormats, TheSaveDialogOffersTheFiveWrittenTypes) {
    EXPECT_EQ(saveTypes(), QStringList({"BMP (*.BMP)", "GIF (*.GIF)", "JPG (*.JPG)", "PNG (*.PNG)",
                                        "TIF (*.TIF)"}));
}

TEST(PictureFormats, ANameFindsItsFormatInAnyLetterCase) {
    ASSERT_NE(formatOf("scan.bmp"), nullptr);
    EXPECT_EQ(formatOf("scan.bmp"), formatOf("SCAN.BMP"));
    EXPECT_EQ(formatOf("scan.Jpeg"), formatOf("scan.JPG"));
    EXPECT_EQ(formatOf("scan.JPG")->quality, 85);
    for (const char* name : {"scan", "scan.", "scan.doc", "my.scans/scan"})
        EXPECT_EQ(formatOf(name), nullptr) << name;
}
