#pragma once
// The private scheduler of cups_fixture.h, with a driverless queue
// "parvello-photo" for an IPP Everywhere photo printer of the test's own.

#include "cups_fixture.h"
#include "services/ipp_photo_printer.h"

namespace testcups {

class PhotoPrinterTest : public CupsTest {
  protected:
    void SetUp() override {
        CupsTest::SetUp();
        QString error;
        ASSERT_TRUE(photo.start(&error)) << error.toStdString();
        ASSERT_TRUE(server()->addDriverlessPrinter(kPhotoQueue, photo.uri(), &error))
            << error.toStdString();
    }
    static constexpr const char* kPhotoQueue = "parvello-photo";
    testsvc::IppPhotoPrinter photo;
};

} // namespace testcups
