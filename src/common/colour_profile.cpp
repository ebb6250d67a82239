#include "common/colour_profile.h"

#include <QColorSpace>
#include <lcms2.h>
#include <memory>

namespace colour {

namespace {

struct CloseProfile {
    void operator()(void* p) const { cmsCloseProfile(p); }
};
struct DeleteTransform {
    void operator()(void* t) const { cmsDeleteTransform(t); }
};
using Profile = std::unique_ptr<void, CloseProfile>;
using Transform = std::unique_ptr<void, DeleteTransform>;

// Relative colorimetric with black point compensation: what photo programs
// use by default to bring a picture to the screen.
Transform transformToSrgb(const Profile& from, cmsUInt32Number inputFormat) {
    const Profile srgb(cmsCreate_sRGBProfile());
    return Transform(cmsCreateTransform(from.get(), inputFormat, srgb.get(), TYPE_BGRA_8,
                                        INTENT_RELATIVE_COLORIMETRIC,
                                        cmsFLAGS_BLACKPOINTCOMPENSATION));
}

// Runs the transform over every row in place (input and output pixels are
// four bytes each) and makes the pixels opaque again: LittleCMS leaves the
// fourth byte as it was.
void apply(const Transform& transform, QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        uchar* row = image.scanLine(y);
        cmsDoTransform(transform.get(), row, row, cmsUInt32Number(image.width()));
        for (int x = 0; x < image.width(); ++x)
            row[4 * x + 3] = 0xff;
    }
    image.setColorSpace(QColorSpace::SRgb);
}

// A profile Qt does not read (a grey one, or one built from look-up tables).
void toSrgbByLcms(QImage& image, const QByteArray& icc) {
    const Profile profile(cmsOpenProfileFromMem(icc.constData(), cmsUInt32Number(icc.size())));
    if (!profile)
        return;
    cmsUInt32Number format = 0;
    if (cmsGetColorSpace(profile.get()) == cmsSigRgbData)
        format = TYPE_BGRA_8;
    else if (cmsGetColorSpace(profile.get()) == cmsSigGrayData)
        // A grey picture arrives with the grey value in all three bytes.
        format = COLORSPACE_SH(PT_GRAY) | CHANNELS_SH(1) | BYTES_SH(1) | EXTRA_SH(3);
    else
        return;
    if (const Transform transform = transformToSrgb(profile, format))
        apply(transform, image);
}

} // namespace

void toSrgb(QImage& image, const QByteArray& icc) {
    const QColorSpace space = icc.isEmpty() ? image.colorSpace() : QColorSpace::fromIccProfile(icc);
    if (space.isValid()) {
        image.setColorSpace(space);
        if (space != QColorSpace::SRgb)
            image.convertToColorSpace(QColorSpace::SRgb);
        return;
    }
    if (!icc.isEmpty() && image.format() == QImage::Format_RGB32)
        toSrgbByLcms(image, icc);
}

void cmykToRgb(QImage& pixels, bool inverted, const QByteArray& icc) {
    if (!icc.isEmpty()) {
        const Profile profile(cmsOpenProfileFromMem(icc.constData(), cmsUInt32Number(icc.size())));
        if (profile && cmsGetColorSpace(profile.get()) == cmsSigCmykData)
            if (const Transform t =
                    transformToSrgb(profile, inverted ? TYPE_CMYK_8_REV : TYPE_CMYK_8)) {
                apply(t, pixels);
                return;
            }
    }
    for (int y = 0; y < pixels.height(); ++y) {
        uchar* row = pixels.scanLine(y);
        for (int x = 0; x < pixels.width(); ++x) {
            uchar* p = row + 4 * x;
            // What is left of each colour's light after its ink and the black.
            int light[4];
            for (int i = 0; i < 4; ++i)
                light[i] = inverted ? p[i] : 255 - p[i];
            const QRgb rgb =
                qRgb((light[0] * light[3] + 127) / 255, (light[1] * light[3] + 127) / 255,
                     (light[2] * light[3] + 127) / 255);
            reinterpret_cast<QRgb*>(row)[x] = rgb;
        }
    }
}

} // namespace colour
