#include "x11_presenter.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <vector>

#include <QtGui/qguiapplication_platform.h>
#include <QGuiApplication>
#include <QWidget>

#if defined(BLOK_HAVE_XCB) && QT_CONFIG(xcb)
#define BLOK_X11_PRESENTER 1
#include <sys/shm.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>  // polling for a reply without waiting
#endif

namespace blok::qt {

int RowsPerRequest(int rowBytes, std::uint64_t maxRequestBytes) {
    constexpr std::uint64_t kPutImageHeader = 24;
    if (rowBytes <= 0 || maxRequestBytes <= kPutImageHeader) return 1;
    const std::uint64_t rows =
        (maxRequestBytes - kPutImageHeader) / static_cast<std::uint64_t>(rowBytes);
    return static_cast<int>(std::clamp<std::uint64_t>(rows, 1, 1 << 16));
}

void EnlargeRows(const FrameRows& rows, std::uint32_t* out) {
    const auto width = static_cast<std::size_t>(rows.width);
    const auto stride = static_cast<std::size_t>(rows.stride);
    const std::size_t wide = width * static_cast<std::size_t>(rows.scale);
    const std::uint32_t* from = rows.pixels + static_cast<std::size_t>(rows.top) * stride;
    for (int y = rows.top; y < rows.bottom; ++y, from += stride) {
        std::uint32_t* row = out;
        if (rows.scale == 1) {
            out = std::copy_n(from, width, out);
            continue;
        }
        for (std::size_t x = 0; x < width; ++x) out = std::fill_n(out, rows.scale, from[x]);
        for (int copy = 1; copy < rows.scale; ++copy) out = std::copy_n(row, wide, out);
    }
}

#ifdef BLOK_X11_PRESENTER

// The whole enlarged frame in memory the X server reads itself, so that rows need not go through
// the socket. Rows are written into it only just before they are put, so a put the server
// carries out late reads at worst a newer state of its rows, which the next put shows anyway.
struct SharedFrame {
    xcb_shm_seg_t segment = 0;
    std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
};

// The frame the game draws on, when it lives in memory the server reads. The server reads it
// when it carries out a put, which may be after the game has begun to draw on it again. Now and
// then a request with a reply follows a put: its answer tells that the puts before it are read.
struct LentFrame {
    xcb_shm_seg_t segment = 0;
    std::weak_ptr<std::uint32_t[]> pixels;
    int width = 0;
    int height = 0;
    std::optional<xcb_get_input_focus_cookie_t> fence;  // answered once the puts before are read
    std::chrono::steady_clock::time_point fenceSent;
    int putsAfterFence = 0;
};

// A fence is a round trip the toolkit's event thread wakes up for; one every quarter second
// keeps the rows that may have to be put again few.
constexpr auto kFenceInterval = std::chrono::milliseconds(250);

struct X11Presenter::Connection {
    xcb_connection_t* link = nullptr;
    xcb_gcontext_t gc = 0;
    std::uint64_t maxRequestBytes = 0;
    bool serverShares = false;  // the server is on this machine and reads our memory
    SharedFrame shared;         // a copy of the frame's rows, enlarged, when the frame is not lent
    LentFrame lent;
    std::vector<xcb_rectangle_t> clip;  // kept, so that a put allocates nothing
};

namespace {

template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
ReplyPtr<Reply> Owned(Reply* reply) {
    return ReplyPtr<Reply>(reply, &std::free);
}

const xcb_visualtype_t* FindVisual(const xcb_setup_t* setup, xcb_visualid_t id) {
    for (auto screen = xcb_setup_roots_iterator(setup); screen.rem; xcb_screen_next(&screen)) {
        for (auto depth = xcb_screen_allowed_depths_iterator(screen.data); depth.rem;
             xcb_depth_next(&depth)) {
            for (auto visual = xcb_depth_visuals_iterator(depth.data); visual.rem;
                 xcb_visualtype_next(&visual)) {
                if (visual.data->visual_id == id) return visual.data;
            }
        }
    }
    return nullptr;
}

bool DepthHas32BitPixels(const xcb_setup_t* setup, std::uint8_t depth) {
    for (auto format = xcb_setup_pixmap_formats_iterator(setup); format.rem;
         xcb_format_next(&format)) {
        if (format.data->depth == depth) return format.data->bits_per_pixel == 32;
    }
    return false;
}

// Our surface holds 0x00RRGGBB words; the window must take them as they are.
bool TakesOurPixels(xcb_connection_t* link, xcb_window_t window) {
    const xcb_setup_t* setup = xcb_get_setup(link);
    auto geometry = Owned(xcb_get_geometry_reply(link, xcb_get_geometry(link, window), nullptr));
    auto attributes = Owned(
        xcb_get_window_attributes_reply(link, xcb_get_window_attributes(link, window), nullptr));
    if (!geometry || !attributes || geometry->depth != 24) return false;
    const xcb_visualtype_t* visual = FindVisual(setup, attributes->visual);
    const bool littleEndian = std::endian::native == std::endian::little;
    const bool ourOrder = setup->image_byte_order ==
                          (littleEndian ? XCB_IMAGE_ORDER_LSB_FIRST : XCB_IMAGE_ORDER_MSB_FIRST);
    return visual != nullptr && visual->_class == XCB_VISUAL_CLASS_TRUE_COLOR &&
           visual->red_mask == 0xff0000 && visual->green_mask == 0x00ff00 &&
           visual->blue_mask == 0x0000ff && ourOrder && DepthHas32BitPixels(setup, 24);
}

bool ServerHasSharedMemory(xcb_connection_t* link) {
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(link, &xcb_shm_id);
    return extension != nullptr && extension->present;
}

// Zeroed memory for width × height pixels that the server has attached as `segment`, or null.
std::uint32_t* AttachShared(xcb_connection_t* link, int width, int height, xcb_shm_seg_t& segment) {
    const std::size_t bytes =
        static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
    const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (id < 0) return nullptr;
    void* address = shmat(id, nullptr, 0);
    xcb_generic_error_t* error = nullptr;
    segment = xcb_generate_id(link);
    if (address != reinterpret_cast<void*>(-1)) {
        error = xcb_request_check(
            link, xcb_shm_attach_checked(link, segment, static_cast<std::uint32_t>(id), 1));
    }
    shmctl(id, IPC_RMID, nullptr);  // gone once both sides have let go
    if (address == reinterpret_cast<void*>(-1)) return nullptr;
    if (error != nullptr) {
        std::free(error);
        shmdt(address);
        return nullptr;
    }
    return static_cast<std::uint32_t*>(address);
}

void Unshare(xcb_connection_t* link, SharedFrame& frame) {
    if (frame.pixels == nullptr) return;
    if (link != nullptr) xcb_shm_detach(link, frame.segment);  // after the puts still queued
    shmdt(frame.pixels);
    frame = SharedFrame{};
}

}  // namespace

std::unique_ptr<X11Presenter> X11Presenter::ForWindow(QWidget& window) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 == nullptr || x11->connection() == nullptr) return nullptr;
    auto connection = std::make_unique<Connection>();
    connection->link = x11->connection();
    const auto id = static_cast<xcb_window_t>(window.winId());
    if (!TakesOurPixels(connection->link, id)) return nullptr;
    connection->gc = xcb_generate_id(connection->link);
    const std::uint32_t noExposures = 0;
    xcb_create_gc(connection->link, connection->gc, id, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
    connection->maxRequestBytes =
        static_cast<std::uint64_t>(xcb_get_maximum_request_length(connection->link)) * 4;
    connection->serverShares = ServerHasSharedMemory(connection->link);
    return std::unique_ptr<X11Presenter>(new X11Presenter(std::move(connection), window));
}

X11Presenter::X11Presenter(std::unique_ptr<Connection> connection, QWidget& window)
    : x_(std::move(connection)), window_(window) {}

X11Presenter::~X11Presenter() {
    // The toolkit closes its connection when the application ends; after that nothing is sent.
    xcb_connection_t* link = qGuiApp ? x_->link : nullptr;
    Unshare(link, x_->shared);
    if (link == nullptr) return;
    EndLending();
    xcb_free_gc(link, x_->gc);
}

// The lent memory itself stays with the frame, which may outlive this presenter.
void X11Presenter::EndLending() {
    LentFrame& lent = x_->lent;
    if (lent.fence) xcb_discard_reply(x_->link, lent.fence->sequence);
    if (lent.segment != 0) xcb_shm_detach(x_->link, lent.segment);
    lent = LentFrame{};
}

std::shared_ptr<std::uint32_t[]> X11Presenter::LendFrame(int width, int height) {
    if (!x_->serverShares || width <= 0 || height <= 0) return nullptr;
    EndLending();
    xcb_shm_seg_t segment = 0;
    std::uint32_t* pixels = AttachShared(x_->link, width, height, segment);
    if (pixels == nullptr) return nullptr;
    std::shared_ptr<std::uint32_t[]> frame(pixels, [](std::uint32_t* address) { shmdt(address); });
    x_->lent = LentFrame{};
    x_->lent.segment = segment;
    x_->lent.pixels = frame;
    x_->lent.width = width;
    x_->lent.height = height;
    return frame;
}

bool X11Presenter::AllPutsRead() {
    LentFrame& lent = x_->lent;
    if (lent.fence) {
        void* reply = nullptr;
        xcb_generic_error_t* error = nullptr;
        if (xcb_poll_for_reply(x_->link, lent.fence->sequence, &reply, &error) == 0) return false;
        std::free(reply);
        std::free(error);
        lent.fence.reset();
    }
    if (lent.putsAfterFence == 0) return true;
    SendFenceWhenDue();
    return false;
}

void X11Presenter::SendFenceWhenDue() {
    LentFrame& lent = x_->lent;
    if (lent.fence) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - lent.fenceSent < kFenceInterval) return;
    lent.fence = xcb_get_input_focus(x_->link);
    lent.fenceSent = now;
    lent.putsAfterFence = 0;  // it leaves with the next put, or when the toolkit next waits
}

void X11Presenter::Put(const FrameRows& rows, QPoint origin, const QRegion& visible) {
    if (rows.width <= 0 || rows.stride < rows.width || rows.top < 0 || rows.bottom > rows.height ||
        rows.bottom <= rows.top || rows.scale < 1 || visible.isEmpty())
        return;
    ClipTo(visible);
    if (PutLent(rows, origin)) {
        Unshare(x_->link, x_->shared);  // the copy a zoomed frame needed is not needed now
    } else if (!x_->serverShares || !PutShared(rows, origin)) {
        PutThroughSocket(rows, origin);
    }
    xcb_flush(x_->link);
}

void X11Presenter::ClipTo(const QRegion& visible) {
    std::vector<xcb_rectangle_t>& clip = x_->clip;
    clip.clear();
    for (const QRect& rect : visible) {
        clip.push_back({static_cast<std::int16_t>(rect.x()), static_cast<std::int16_t>(rect.y()),
                        static_cast<std::uint16_t>(rect.width()),
                        static_cast<std::uint16_t>(rect.height())});
    }
    xcb_set_clip_rectangles(x_->link, XCB_CLIP_ORDERING_UNSORTED, x_->gc, 0, 0,
                            static_cast<std::uint32_t>(clip.size()), clip.data());
}

bool X11Presenter::PutLent(const FrameRows& rows, QPoint origin) {
    LentFrame& lent = x_->lent;
    const std::shared_ptr<std::uint32_t[]> pixels = lent.pixels.lock();
    if (rows.scale != 1 || pixels == nullptr || pixels.get() != rows.pixels ||
        rows.stride != lent.width || rows.height > lent.height)
        return false;
    xcb_shm_put_image(
        x_->link, static_cast<xcb_window_t>(window_.winId()), x_->gc,
        static_cast<std::uint16_t>(lent.width), static_cast<std::uint16_t>(lent.height), 0,
        static_cast<std::uint16_t>(rows.top), static_cast<std::uint16_t>(rows.width),
        static_cast<std::uint16_t>(rows.bottom - rows.top), static_cast<std::int16_t>(origin.x()),
        static_cast<std::int16_t>(origin.y() + rows.top), 24, XCB_IMAGE_FORMAT_Z_PIXMAP, 0,
        lent.segment, 0);
    ++lent.putsAfterFence;
    SendFenceWhenDue();
    return true;
}

bool X11Presenter::PutShared(const FrameRows& rows, QPoint origin) {
    SharedFrame& shared = x_->shared;
    const int width = rows.width * rows.scale;
    const int height = rows.height * rows.scale;
    if (shared.width != width || shared.height != height) {
        Unshare(x_->link, shared);
        xcb_shm_seg_t segment = 0;
        std::uint32_t* pixels = AttachShared(x_->link, width, height, segment);
        if (pixels == nullptr) {
            x_->serverShares = false;  // e.g. a server on another machine
            return false;
        }
        shared = SharedFrame{segment, pixels, width, height};
    }
    const int top = rows.top * rows.scale;
    EnlargeRows(rows,
                shared.pixels + static_cast<std::size_t>(top) * static_cast<std::size_t>(width));
    xcb_shm_put_image(x_->link, static_cast<xcb_window_t>(window_.winId()), x_->gc,
                      static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), 0,
                      static_cast<std::uint16_t>(top), static_cast<std::uint16_t>(width),
                      static_cast<std::uint16_t>((rows.bottom - rows.top) * rows.scale),
                      static_cast<std::int16_t>(origin.x()),
                      static_cast<std::int16_t>(origin.y() + top), 24, XCB_IMAGE_FORMAT_Z_PIXMAP, 0,
                      shared.segment, 0);
    return true;
}

void X11Presenter::PutThroughSocket(const FrameRows& rows, QPoint origin) {
    const int width = rows.width * rows.scale;
    const int count = (rows.bottom - rows.top) * rows.scale;
    const std::uint32_t* pixels =
        rows.pixels + static_cast<std::size_t>(rows.top) * static_cast<std::size_t>(rows.stride);
    if (rows.scale > 1 || rows.stride != rows.width) {
        enlarged_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(count));
        EnlargeRows(rows, enlarged_.data());
        pixels = enlarged_.data();
    }
    const int rowBytes = width * 4;
    const int perRequest = RowsPerRequest(rowBytes, x_->maxRequestBytes);
    const auto window = static_cast<xcb_window_t>(window_.winId());
    const int top = origin.y() + rows.top * rows.scale;
    for (int done = 0; done < count; done += perRequest) {
        const int now = std::min(perRequest, count - done);
        xcb_put_image(
            x_->link, XCB_IMAGE_FORMAT_Z_PIXMAP, window, x_->gc, static_cast<std::uint16_t>(width),
            static_cast<std::uint16_t>(now), static_cast<std::int16_t>(origin.x()),
            static_cast<std::int16_t>(top + done), 0, 24,
            static_cast<std::uint32_t>(now * rowBytes),
            reinterpret_cast<const std::uint8_t*>(pixels + static_cast<std::size_t>(done) *
                                                               static_cast<std::size_t>(width)));
    }
}

#else

struct X11Presenter::Connection {};

std::unique_ptr<X11Presenter> X11Presenter::ForWindow(QWidget&) {
    return nullptr;
}
X11Presenter::~X11Presenter() = default;
std::shared_ptr<std::uint32_t[]> X11Presenter::LendFrame(int, int) {
    return nullptr;
}
bool X11Presenter::AllPutsRead() {
    return true;
}
void X11Presenter::Put(const FrameRows&, QPoint, const QRegion&) {}

#endif

}  // namespace blok::qt
