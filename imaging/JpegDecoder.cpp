#include "imaging/JpegDecoder.h"

#include "imaging/PixelLimit.h"
#include "platform/files/FileSystem.h"

#include <csetjmp>
#include <cstdio>
#include <new>

#include <jerror.h>
#include <jpeglib.h>

namespace kelvarn::imaging {

namespace {

constexpr int32_t kLayoutRgb = 14;
constexpr int32_t kLayoutGrey = 15;
// Real progressive files have a few dozen scans at most; a crafted one with thousands of tiny
// scans would keep the decoder busy for minutes.
constexpr int kMaxScans = 500;

// libjpeg's error manager with its error exit turned into a jump back to the operation in
// progress. `pub` comes first: libjpeg hands back its address as cinfo->err.
struct ErrorBridge {
    jpeg_error_mgr pub;
    void (*defaultEmit)(j_common_ptr, int);
    std::jmp_buf jump;
    bool headerRead; // from here on the end of the file may be harmless
    bool dataEnded;  // the file ended without an end-of-image marker
    int lastScan;    // the scan whose components were last counted
    int componentsScanned;
    char message[JMSG_LENGTH_MAX]; // why the operation failed, when it says
};

[[noreturn]] void jumpBack(j_common_ptr cinfo) {
    auto* bridge = reinterpret_cast<ErrorBridge*>(cinfo->err);
    cinfo->err->format_message(cinfo, bridge->message);
    std::longjmp(bridge->jump, 1);
}

[[noreturn]] void jumpBackSaying(j_common_ptr cinfo, const char* message) {
    auto* bridge = reinterpret_cast<ErrorBridge*>(cinfo->err);
    std::snprintf(bridge->message, sizeof bridge->message, "%s", message);
    std::longjmp(bridge->jump, 1);
}

void emitMessage(j_common_ptr cinfo, int level) {
    // A file that ends inside its header is no picture. Compressed data that stops at a marker
    // (or at the end of the file) while the picture still needs bits would have its missing rows
    // filled with grey and pass as decoded (a tiny file announcing a huge picture then takes
    // seconds to "decode"): an error. The end of the file alone is noted, silently: it is harmless
    // when only the end-of-image marker is missing, which the operations check once the picture's
    // data has been read. Other warnings go to libjpeg's default output.
    auto* bridge = reinterpret_cast<ErrorBridge*>(cinfo->err);
    if (level < 0 && cinfo->err->msg_code == JWRN_HIT_MARKER)
        jumpBack(cinfo);
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) {
        if (!bridge->headerRead)
            jumpBack(cinfo);
        bridge->dataEnded = true;
        return;
    }
    bridge->defaultEmit(cinfo, level);
}

// True unless the file ended before all of the picture's data: a single-scan file whose every
// scanline was decoded from real bits has all of it; a sequential file of several scans has it
// when every component had its scan; a progressive file when every coefficient of every
// component got its last refinement bit.
bool dataComplete(jpeg_decompress_struct* cinfo, const ErrorBridge& bridge) {
    if (!bridge.dataEnded)
        return true;
    if (cinfo->progressive_mode) {
        for (int c = 0; c < cinfo->num_components; ++c)
            for (int k = 0; k < DCTSIZE2; ++k)
                if (cinfo->coef_bits[c][k] != 0)
                    return false;
        return true;
    }
    return bridge.componentsScanned >= cinfo->num_components;
}

// Called before every step of reading a file of several scans, so it sees each scan begin.
void watchScans(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor)
        return;
    auto* decompress = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (decompress->input_scan_number > kMaxScans)
        jumpBackSaying(cinfo, "more scans than a real file has");
    auto* bridge = reinterpret_cast<ErrorBridge*>(cinfo->err);
    if (decompress->input_scan_number != bridge->lastScan) {
        bridge->lastScan = decompress->input_scan_number;
        bridge->componentsScanned += decompress->comps_in_scan;
    }
}

} // namespace

struct JpegDecoder::Session {
    jpeg_decompress_struct cinfo;
    ErrorBridge bridge;
    jpeg_progress_mgr monitor;
    bool created;
    platform::StreamPtr file;
};

namespace {

// The shims below are the only frames a libjpeg error jumps across; they hold nothing that
// needs destroying.

int startShim(jpeg_decompress_struct* cinfo, ErrorBridge* bridge, jpeg_progress_mgr* monitor,
              bool* created, std::FILE* file) {
    if (setjmp(bridge->jump))
        return 0;
    *created = true;
    jpeg_create_decompress(cinfo);
    // Progressive files keep every coefficient in memory (two bytes a sample); without a
    // backing store, a request above this cap ends in an error instead of a huge allocation.
    cinfo->mem->max_memory_to_use = static_cast<long>(2 * pixelByteLimit() + (64u << 20));
    monitor->progress_monitor = watchScans;
    cinfo->progress = monitor;
    jpeg_stdio_src(cinfo, file);
    jpeg_read_header(cinfo, TRUE);
    bridge->headerRead = true;
    bridge->lastScan = cinfo->input_scan_number;
    bridge->componentsScanned = cinfo->comps_in_scan;
    jpeg_calc_output_dimensions(cinfo);
    // CMYK and YCCK files come out with four components and are refused here, before any
    // decompression work; so is a picture too large to hold.
    if (cinfo->out_color_components != 1 && cinfo->out_color_components != 3) {
        std::snprintf(bridge->message, sizeof bridge->message, "%d colour components",
                      cinfo->out_color_components);
        return 0;
    }
    if (checkedPixelBytes(cinfo->output_width, cinfo->output_height, cinfo->out_color_components) ==
        0) {
        std::snprintf(bridge->message, sizeof bridge->message,
                      "%u x %u pixels exceed the pixel limit", cinfo->output_width,
                      cinfo->output_height);
        return 0;
    }
    jpeg_start_decompress(cinfo);
    // A file of several scans has been read to its end by now.
    if (!dataComplete(cinfo, *bridge)) {
        std::snprintf(bridge->message, sizeof bridge->message, "the scans end early");
        return 0;
    }
    return 1;
}

int readRowsShim(jpeg_decompress_struct* cinfo, ErrorBridge* bridge, uint8_t* pixels,
                 size_t rowBytes, ProgressCallback progress, int32_t height) {
    if (setjmp(bridge->jump))
        return 0;
    while (cinfo->output_scanline < cinfo->output_height) {
        JSAMPROW row = pixels + static_cast<size_t>(cinfo->output_scanline) * rowBytes;
        if (jpeg_read_scanlines(cinfo, &row, 1) != 1) {
            std::snprintf(bridge->message, sizeof bridge->message, "row %u cannot be read",
                          cinfo->output_scanline);
            return 0;
        }
        reportProgress(progress, kProgressReading, static_cast<int32_t>(cinfo->output_scanline) - 1,
                       height);
    }
    if (!dataComplete(cinfo, *bridge)) {
        std::snprintf(bridge->message, sizeof bridge->message,
                      "the file ends before the last scan");
        return 0;
    }
    return 1;
}

} // namespace

JpegDecoder::JpegDecoder() = default;

JpegDecoder::~JpegDecoder() {
    close();
}

bool JpegDecoder::recognises(const ContentHead& head) {
    static constexpr uint8_t kStartOfImage[] = {0xFF, 0xD8};
    return head.holds(0, kStartOfImage, sizeof kStartOfImage);
}

int JpegDecoder::refuse(const char* fallback) {
    const char* message =
        m_session && m_session->bridge.message[0] ? m_session->bridge.message : fallback;
    m_refusal.set("JPEG: %s", message);
    close();
    return 0;
}

int JpegDecoder::open(const char* path, ImageRecord& target, ProgressCallback progress) {
    close();
    m_refusal.clear();
    if (!path)
        return refuse("no path");
    platform::StreamPtr file = platform::openStream(path, "rb");
    if (!file)
        return refuse("the file cannot be opened");
    unsigned char marker[2];
    if (std::fread(marker, 1, 2, file.get()) != 2 || marker[0] != 0xFF || marker[1] != 0xD8 ||
        std::fseek(file.get(), 0, SEEK_SET) != 0)
        return refuse("no start-of-image marker");

    m_session.reset(new (std::nothrow) Session{});
    if (!m_session)
        return refuse("no memory for the decoder");
    Session& s = *m_session;
    s.file = std::move(file);
    s.cinfo.err = jpeg_std_error(&s.bridge.pub);
    s.bridge.defaultEmit = s.bridge.pub.emit_message;
    s.bridge.pub.error_exit = jumpBack;
    s.bridge.pub.emit_message = emitMessage;

    if (!startShim(&s.cinfo, &s.bridge, &s.monitor, &s.created, s.file.get()))
        return refuse("the header cannot be read");
    if (s.cinfo.output_width == 0 || s.cinfo.output_height == 0)
        return refuse("a side of 0 pixels");
    if (s.cinfo.output_components != 1 && s.cinfo.output_components != 3)
        return refuse("neither one nor three output components");
    m_layout = s.cinfo.output_components == 3 ? kLayoutRgb : kLayoutGrey;
    m_width = static_cast<int32_t>(s.cinfo.output_width);
    m_height = static_cast<int32_t>(s.cinfo.output_height);
    m_progress = progress;
    m_target = &target;
    return 1;
}

int JpegDecoder::decode() {
    if (!m_session || !m_target)
        return refuse("decode without an accepted file");
    const int32_t depth = m_layout == kLayoutRgb ? 24 : 8;
    if (!m_target->create(m_width, m_height, depth, 0)) {
        reportProgress(m_progress, kProgressReading, m_height - 1, m_height);
        return refuse("no pixel memory for the picture");
    }
    const int ok = readRowsShim(&m_session->cinfo, &m_session->bridge, m_target->pixels(),
                                m_target->rowBytes(), m_progress, m_height);
    reportProgress(m_progress, kProgressReading, m_height - 1, m_height);
    if (!ok)
        return refuse("the rows cannot be read");
    close();
    return 1;
}

int JpegDecoder::close() {
    if (m_session) {
        // jpeg_destroy_decompress only releases memory and never raises an error.
        if (m_session->created)
            jpeg_destroy_decompress(&m_session->cinfo);
        m_session.reset();
    }
    m_progress = nullptr;
    m_target = nullptr;
    m_width = 0;
    m_height = 0;
    m_layout = 0;
    return 1;
}

} // namespace kelvarn::imaging
