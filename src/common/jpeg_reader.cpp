#include "common/jpeg_reader.h"

#include "common/colour_profile.h"
#include "common/jpeg_dc.h"
#include "common/unreadable.h"
#include "common/upright.h"

#include <QBuffer>
#include <QImageReader>
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <jerror.h>
#include <jpeglib.h>
#include <sys/mman.h>

namespace jpegreader {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    bool endedTooSoon = false;
};

[[noreturn]] void errorExit(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// libjpeg only warns when the file ends inside the picture, and paints the
// rest grey: such a picture is refused, since printing half a photo is no
// use. Other warnings (stray bytes between markers, a restart marker out of
// place) leave a picture worth showing.
void noteWarning(j_common_ptr info, int level) {
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        reinterpret_cast<ErrorManager*>(info->err)->endedTooSoon = true;
}

// One decompression. libjpeg reports an error by a jump back into start() or
// decode(), which hold nothing that needs destroying.
class Decoder {
  public:
    Decoder() {
        std::memset(&m_info, 0, sizeof m_info);
        m_info.err = jpeg_std_error(&m_err.base);
        m_err.base.error_exit = errorExit;
        m_err.base.emit_message = noteWarning;
    }
    ~Decoder() { jpeg_destroy_decompress(&m_info); }
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    // Reads the header and works out the output size at 1/reduction.
    bool start(const QByteArray& bytes, int reduction) {
        if (setjmp(m_err.jump))
            return false;
        jpeg_create_decompress(&m_info);
        jpeg_mem_src(&m_info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                     static_cast<unsigned long>(bytes.size()));
        jpeg_save_markers(&m_info, JPEG_APP0 + 2, 0xffff); // colour profile
        jpeg_read_header(&m_info, TRUE);
        m_info.scale_num = 1;
        m_info.scale_denom = static_cast<unsigned>(reduction);
        // Alpha, not X: libjpeg-turbo sets the fourth byte only for alpha,
        // and Format_RGB32 wants it 0xff. CMYK comes out as four bytes too,
        // turned into RGB in the same buffer.
        m_info.out_color_space = isCmyk() ? JCS_CMYK : JCS_EXT_BGRA;
        if (colourModelHandled())
            jpeg_calc_output_dimensions(&m_info);
        return true;
    }

    bool colourModelHandled() const {
        return m_info.jpeg_color_space == JCS_GRAYSCALE || m_info.jpeg_color_space == JCS_YCbCr ||
               m_info.jpeg_color_space == JCS_RGB || isCmyk();
    }
    bool isCmyk() const {
        return m_info.jpeg_color_space == JCS_CMYK || m_info.jpeg_color_space == JCS_YCCK;
    }

    // Decodes into rows of `bytesPerLine` at `bits`, many rows a call.
    bool decode(uchar* bits, qsizetype bytesPerLine, const std::atomic<bool>* cancel,
                bool* cancelled) {
        if (setjmp(m_err.jump))
            return false;
        jpeg_start_decompress(&m_info);
        constexpr int Batch = 16;
        JSAMPROW rows[Batch];
        while (m_info.output_scanline < m_info.output_height) {
            if (cancel && cancel->load(std::memory_order_relaxed)) {
                *cancelled = true;
                jpeg_abort_decompress(&m_info);
                return false;
            }
            const unsigned first = m_info.output_scanline;
            const unsigned n = std::min<unsigned>(Batch, m_info.output_height - first);
            for (unsigned i = 0; i < n; ++i)
                rows[i] = bits + qsizetype(first + i) * bytesPerLine;
            jpeg_read_scanlines(&m_info, rows, n);
        }
        // A file missing only its end marker has given the whole picture.
        m_cutShort = m_err.endedTooSoon;
        jpeg_finish_decompress(&m_info);
        return !m_cutShort;
    }

    // The header's one baseline scan for the DC reader; nothing when the
    // picture is progressive, arithmetic-coded, 12-bit or in several scans.
    std::optional<jpegdc::Scan> dcScan() {
        const jpeg_decompress_struct& i = m_info;
        if (i.progressive_mode || i.arith_code || i.data_precision != 8 ||
            i.comps_in_scan != i.num_components || i.Ss != 0 || i.Se != 63 || i.Ah != 0 ||
            i.Al != 0)
            return std::nullopt;
        jpegdc::Scan scan{int(i.image_width),
                          int(i.image_height),
                          {},
                          i.jpeg_color_space == JCS_YCbCr,
                          int(i.restart_interval),
                          i.src->next_input_byte,
                          i.src->bytes_in_buffer};
        for (int c = 0; c < i.comps_in_scan; ++c) {
            const jpeg_component_info* comp = i.cur_comp_info[c];
            // The header's table numbers are checked by libjpeg only once
            // it starts decoding.
            if (comp->quant_tbl_no < 0 || comp->quant_tbl_no >= NUM_QUANT_TBLS ||
                comp->dc_tbl_no < 0 || comp->dc_tbl_no >= NUM_HUFF_TBLS || comp->ac_tbl_no < 0 ||
                comp->ac_tbl_no >= NUM_HUFF_TBLS)
                return std::nullopt;
            const JQUANT_TBL* quant = i.quant_tbl_ptrs[comp->quant_tbl_no];
            const JHUFF_TBL* dc = i.dc_huff_tbl_ptrs[comp->dc_tbl_no];
            const JHUFF_TBL* ac = i.ac_huff_tbl_ptrs[comp->ac_tbl_no];
            if (!quant || !dc || !ac)
                return std::nullopt;
            jpegdc::Component component{
                comp->h_samp_factor, comp->v_samp_factor, int(quant->quantval[0]), {}, {}};
            std::memcpy(component.dc.counts, dc->bits, sizeof dc->bits);
            std::memcpy(component.dc.symbols, dc->huffval, sizeof dc->huffval);
            std::memcpy(component.ac.counts, ac->bits, sizeof ac->bits);
            std::memcpy(component.ac.symbols, ac->huffval, sizeof ac->huffval);
            scan.components.push_back(component);
        }
        return scan;
    }

    const jpeg_decompress_struct& info() const { return m_info; }
    // Why the header or the decode failed, in the user's words.
    QString error(const QByteArray& bytes) const {
        if (m_cutShort)
            return unreadable::words(unreadable::Reason::EndsTooSoon);
        return m_err.base.msg_code == JERR_OUT_OF_MEMORY
                   ? unreadable::words(unreadable::Reason::NoMemory)
                   : unreadable::words(unreadable::damagedOrCutShort(bytes));
    }

    // The embedded colour profile, collected as Qt's reader collects it.
    QByteArray iccProfile() const {
        QByteArray profile;
        static const char tag[] = "ICC_PROFILE"; // with its terminating zero
        for (jpeg_saved_marker_ptr m = m_info.marker_list; m; m = m->next)
            if (m->marker == JPEG_APP0 + 2 && m->data_length > 128 + 4 + 14 &&
                std::memcmp(m->data, tag, sizeof tag) == 0)
                profile.append(reinterpret_cast<const char*>(m->data) + 14,
                               qsizetype(m->data_length) - 14);
        return profile;
    }

  private:
    jpeg_decompress_struct m_info;
    ErrorManager m_err;
    bool m_cutShort = false; // the data ended inside the picture
};

// The EXIF orientation as Qt's reader understands it (it reads only the
// header for this).
QImageIOHandler::Transformations orientation(const QByteArray& bytes) {
    QByteArray copy = bytes; // shared, not copied
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    return reader.transformation();
}

// The stored resolution as Qt's reader keeps it, the colours in sRGB, and
// the picture turned upright.
QImage finish(QImage image, const Decoder& decoder, const QByteArray& icc,
              const QByteArray& bytes) {
    const jpeg_decompress_struct& info = decoder.info();
    if (info.density_unit == 1) {
        image.setDotsPerMeterX(int(100. * info.X_density / 2.54));
        image.setDotsPerMeterY(int(100. * info.Y_density / 2.54));
    } else if (info.density_unit == 2) {
        image.setDotsPerMeterX(int(100. * info.X_density));
        image.setDotsPerMeterY(int(100. * info.Y_density));
    }
    // Adobe's programs, which write the marker, store CMYK inverted.
    if (decoder.isCmyk())
        colour::cmykToRgb(image, info.saw_Adobe_marker, icc);
    else if (!icc.isEmpty())
        colour::toSrgb(image, icc);
    return upright::apply(std::move(image), orientation(bytes));
}

} // namespace

void preferHugePages(void* fresh, size_t bytes) {
    constexpr uintptr_t HugePage = uintptr_t(2) << 20;
    const uintptr_t start = (reinterpret_cast<uintptr_t>(fresh) + HugePage - 1) & ~(HugePage - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(fresh) + bytes) & ~(HugePage - 1);
    if (end > start)
        madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
}

bool handles(const QByteArray& bytes) {
    if (bytes.size() < 3 || uchar(bytes[0]) != 0xff || uchar(bytes[1]) != 0xd8 ||
        uchar(bytes[2]) != 0xff)
        return false;
    Decoder decoder;
    return decoder.start(bytes, 1) && decoder.colourModelHandled();
}

std::optional<QSize> uprightSize(const QByteArray& bytes) {
    Decoder decoder;
    if (!decoder.start(bytes, 1))
        return std::nullopt;
    const QSize stored(int(decoder.info().image_width), int(decoder.info().image_height));
    return orientation(bytes) & QImageIOHandler::TransformationRotate90 ? stored.transposed()
                                                                        : stored;
}

int reductionFor(QSize upright, QSize atLeast) {
    for (int reduction : {8, 4, 2})
        // libjpeg rounds the reduced size up.
        if ((upright.width() + reduction - 1) / reduction >= atLeast.width() &&
            (upright.height() + reduction - 1) / reduction >= atLeast.height())
            return reduction;
    return 1;
}

Result read(const QByteArray& bytes, int reduction, qint64 maxPixels,
            const std::atomic<bool>* cancel) {
    Decoder decoder;
    if (!decoder.start(bytes, reduction))
        return {{}, decoder.error(bytes)};
    if (!decoder.colourModelHandled())
        return {{}, unreadable::words(unreadable::Reason::Unsupported)};
    const jpeg_decompress_struct& info = decoder.info();
    // The stored size counts even for a reduced decode: libjpeg may hold every
    // coefficient of the full picture while it reads.
    if (qint64(info.image_width) * info.image_height > maxPixels)
        return {{}, unreadable::tooLarge(info.image_width, info.image_height, maxPixels)};
    const int w = int(info.output_width), h = int(info.output_height);

    QImage image(w, h, QImage::Format_RGB32);
    if (image.isNull())
        return {{}, unreadable::words(unreadable::Reason::NoMemory)};
    preferHugePages(image.bits(), size_t(image.sizeInBytes()));
    // Saved markers go with the decode's memory: take the profile first.
    const QByteArray icc = decoder.iccProfile();
    bool cancelled = false;
    if (!decoder.decode(image.bits(), image.bytesPerLine(), cancel, &cancelled))
        return {{},
                cancelled ? unreadable::words(unreadable::Reason::Cancelled)
                          : decoder.error(bytes)};

    return {finish(std::move(image), decoder, icc, bytes), {}};
}

Result readEighthForScreen(const QByteArray& bytes, qint64 maxPixels) {
    Decoder decoder;
    if (!decoder.start(bytes, 8))
        return {{}, decoder.error(bytes)};
    const jpeg_decompress_struct& info = decoder.info();
    std::optional<jpegdc::Scan> scan = decoder.dcScan();
    if (!scan || !decoder.colourModelHandled() || decoder.isCmyk() ||
        qint64(info.image_width) * info.image_height > maxPixels)
        return read(bytes, 8, maxPixels);
    QImage image(int(info.output_width), int(info.output_height), QImage::Format_RGB32);
    if (image.isNull())
        return {{}, unreadable::words(unreadable::Reason::NoMemory)};
    if (!jpegdc::decode(*scan, reinterpret_cast<uint32_t*>(image.bits()), image.bytesPerLine()))
        return read(bytes, 8, maxPixels);
    return {finish(std::move(image), decoder, decoder.iccProfile(), bytes), {}};
}

} // namespace jpegreader
