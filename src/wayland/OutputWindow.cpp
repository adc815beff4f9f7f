#include "OutputWindow.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "fractional-scale-v1-client.h"
#include "viewporter-client.h"
#include "xdg-shell-client.h"

namespace {

// Fractional scales come in 120ths.
constexpr double FRACTIONAL_DENOMINATOR = 120.0;

} // namespace

COutputWindow::COutputWindow(uint32_t name, wl_output* output)
    : m_name(name), m_output(output), m_shm(nullptr), m_compositor(nullptr), m_surface(nullptr), m_xdgSurface(nullptr),
      m_toplevel(nullptr), m_viewport(nullptr), m_fractionalScale(nullptr), m_modeWidth(0), m_modeHeight(0),
      m_outputScale(1), m_preferredScale(0), m_logicalWidth(0), m_logicalHeight(0), m_configured(false),
      m_pixelWidth(0), m_pixelHeight(0), m_canvas(nullptr), m_canvasMemory(nullptr), m_canvasSize(0), m_buffers{},
      m_mapping(nullptr), m_mappingSize(0), m_shownValid(false), m_needsPaint(true),
      m_closeRequested(false), m_layout{}, m_laidOutWidth(0), m_laidOutHeight(0), m_laidOutRatio(0.0), m_frame(nullptr),
      m_frameRequestedMs(0), m_missedPasses(false)
{
    static const wl_output_listener listener = {OnOutputGeometry, OnOutputMode, OnOutputDone,
                                                OnOutputScale,    OnOutputName, OnOutputDescription};
    wl_output_add_listener(m_output, &listener, this);
}

COutputWindow::~COutputWindow()
{
    FreeBuffers();
    if (m_frame != nullptr)
        wl_callback_destroy(m_frame);
    if (m_fractionalScale != nullptr)
        wp_fractional_scale_v1_destroy(m_fractionalScale);
    if (m_viewport != nullptr)
        wp_viewport_destroy(m_viewport);
    if (m_toplevel != nullptr)
        xdg_toplevel_destroy(m_toplevel);
    if (m_xdgSurface != nullptr)
        xdg_surface_destroy(m_xdgSurface);
    if (m_surface != nullptr)
        wl_surface_destroy(m_surface);
    if (wl_output_get_version(m_output) >= WL_OUTPUT_RELEASE_SINCE_VERSION)
        wl_output_release(m_output);
    else
        wl_output_destroy(m_output);
}

void COutputWindow::CreateWindow(const WindowGlobals& globals)
{
    m_shm = globals.shm;
    m_compositor = globals.compositor;
    m_surface = wl_compositor_create_surface(globals.compositor);
    m_xdgSurface = xdg_wm_base_get_xdg_surface(globals.shell, m_surface);
    static const xdg_surface_listener surfaceListener = {OnConfigure};
    xdg_surface_add_listener(m_xdgSurface, &surfaceListener, this);
    m_toplevel = xdg_surface_get_toplevel(m_xdgSurface);
    static const xdg_toplevel_listener toplevelListener = {OnToplevelConfigure, OnToplevelClose, OnToplevelBounds,
                                                           [](void*, xdg_toplevel*, wl_array*) {}};
    xdg_toplevel_add_listener(m_toplevel, &toplevelListener, this);
    xdg_toplevel_set_title(m_toplevel, "Ascenda Vintra");
    xdg_toplevel_set_app_id(m_toplevel, "ascenda-wayland");
    xdg_toplevel_set_fullscreen(m_toplevel, m_output);
    // Fractional scaling needs the viewport to say the buffer's logical size.
    if (globals.fractionalScale != nullptr && globals.viewporter != nullptr) {
        m_viewport = wp_viewporter_get_viewport(globals.viewporter, m_surface);
        m_fractionalScale = wp_fractional_scale_manager_v1_get_fractional_scale(globals.fractionalScale, m_surface);
        static const wp_fractional_scale_v1_listener scaleListener = {OnPreferredScale};
        wp_fractional_scale_v1_add_listener(m_fractionalScale, &scaleListener, this);
    }
    // The first commit carries no buffer: it asks the compositor for the window's size.
    wl_surface_commit(m_surface);
}

void COutputWindow::AskForFullScreen()
{
    if (m_toplevel != nullptr)
        xdg_toplevel_set_fullscreen(m_toplevel, m_output);
}

double COutputWindow::GetPixelRatio() const
{
    if (m_viewport != nullptr && m_preferredScale != 0)
        return m_preferredScale / FRACTIONAL_DENOMINATOR;
    return m_outputScale;
}

// --- the output's and the window's events ---

void COutputWindow::OnOutputGeometry(void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*,
                                     const char*, int32_t)
{
}

void COutputWindow::OnOutputMode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t)
{
    auto* window = static_cast<COutputWindow*>(data);
    if ((flags & WL_OUTPUT_MODE_CURRENT) == 0)
        return;
    window->m_modeWidth = width;
    window->m_modeHeight = height;
}

void COutputWindow::OnOutputScale(void* data, wl_output*, int32_t factor)
{
    static_cast<COutputWindow*>(data)->m_outputScale = factor > 0 ? factor : 1;
}

void COutputWindow::OnOutputDone(void* data, wl_output*)
{
    // A new scale or mode takes effect at once on a window that has its size.
    auto* window = static_cast<COutputWindow*>(data);
    if (window->m_configured)
        window->ApplySize();
}

void COutputWindow::OnPreferredScale(void* data, wp_fractional_scale_v1*, uint32_t scale)
{
    auto* window = static_cast<COutputWindow*>(data);
    window->m_preferredScale = scale;
    if (window->m_configured)
        window->ApplySize();
}

void COutputWindow::OnToplevelConfigure(void* data, xdg_toplevel*, int32_t width, int32_t height, wl_array*)
{
    auto* window = static_cast<COutputWindow*>(data);
    window->m_logicalWidth = width;
    window->m_logicalHeight = height;
}

void COutputWindow::OnToplevelClose(void* data, xdg_toplevel*)
{
    static_cast<COutputWindow*>(data)->m_closeRequested = true;
}

void COutputWindow::OnConfigure(void* data, xdg_surface* surface, uint32_t serial)
{
    auto* window = static_cast<COutputWindow*>(data);
    xdg_surface_ack_configure(surface, serial);
    window->m_configured = true;
    window->ApplySize();
}

void COutputWindow::ApplySize()
{
    const double ratio = GetPixelRatio();
    int32_t logicalWidth = m_logicalWidth;
    int32_t logicalHeight = m_logicalHeight;
    // A size of 0 leaves it to the client: the whole output.
    if (logicalWidth <= 0 || logicalHeight <= 0) {
        logicalWidth = static_cast<int32_t>(m_modeWidth / ratio);
        logicalHeight = static_cast<int32_t>(m_modeHeight / ratio);
    }
    if (logicalWidth <= 0 || logicalHeight <= 0)
        return;
    if (m_viewport != nullptr) {
        wp_viewport_set_destination(m_viewport, logicalWidth, logicalHeight);
        wl_surface_set_buffer_scale(m_surface, 1);
    } else {
        wl_surface_set_buffer_scale(m_surface, m_outputScale);
    }
    // Opaque all over: the compositor need not draw what lies beneath it.
    wl_region* opaque = wl_compositor_create_region(m_compositor);
    wl_region_add(opaque, 0, 0, logicalWidth, logicalHeight);
    wl_surface_set_opaque_region(m_surface, opaque);
    wl_region_destroy(opaque);
    const int32_t pixelWidth = static_cast<int32_t>(std::lround(logicalWidth * ratio));
    const int32_t pixelHeight = static_cast<int32_t>(std::lround(logicalHeight * ratio));
    if (pixelWidth != m_pixelWidth || pixelHeight != m_pixelHeight || m_canvas == nullptr)
        Resize(pixelWidth, pixelHeight);
    // The compositor expects a commit after every configure: a whole new picture.
    m_needsPaint = true;
}

void COutputWindow::SetLayout(const SceneLayout& layout)
{
    m_layout = layout;
    m_laidOutWidth = m_pixelWidth;
    m_laidOutHeight = m_pixelHeight;
    m_laidOutRatio = GetPixelRatio();
}

bool COutputWindow::IsLaidOut() const
{
    return IsReady() && m_laidOutWidth == m_pixelWidth && m_laidOutHeight == m_pixelHeight &&
           m_laidOutRatio == GetPixelRatio();
}

// --- canvas and buffers ---

void COutputWindow::Resize(int32_t pixelWidth, int32_t pixelHeight)
{
    FreeBuffers();
    m_pixelWidth = pixelWidth;
    m_pixelHeight = pixelHeight;
    // The canvas, and beside it a copy of the picture the output shows, on large pages where the
    // system allows: a box or a comparison touches a row on every page it crosses, and a
    // 1920 x 1080 picture spans two thousand small ones. (Shared memory, which the compositor
    // reads, has small pages only; it is written where the picture changed and nowhere else.)
    const int32_t stride = cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, pixelWidth);
    m_canvasSize = static_cast<size_t>(stride) * static_cast<size_t>(pixelHeight);
    void* memory = mmap(nullptr, m_canvasSize * 2, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    m_canvasMemory = memory == MAP_FAILED ? nullptr : memory;
    if (m_canvasMemory != nullptr)
        madvise(m_canvasMemory, m_canvasSize * 2, MADV_HUGEPAGE);
    m_canvas = m_canvasMemory != nullptr
                   ? cairo_image_surface_create_for_data(static_cast<unsigned char*>(m_canvasMemory),
                                                         CAIRO_FORMAT_RGB24, pixelWidth, pixelHeight, stride)
                   : cairo_image_surface_create(CAIRO_FORMAT_RGB24, pixelWidth, pixelHeight);
    // The saver sets the text's size for the layout it draws.
    m_drawing = std::make_unique<CCairoSurface>(m_canvas, 12.0);
    m_pending.SetBounds(pixelWidth, pixelHeight);
    if (!AllocateBuffers(m_shm)) {
        std::fprintf(stderr, "ascenda-wayland: no shared memory for a %d x %d window\n", pixelWidth, pixelHeight);
        FreeBuffers();
    }
}

bool COutputWindow::AllocateBuffers(wl_shm* shm)
{
    const int32_t stride = m_pixelWidth * 4;
    const size_t bufferSize = static_cast<size_t>(stride) * static_cast<size_t>(m_pixelHeight);
    const int fd = memfd_create("ascenda-wayland", MFD_CLOEXEC);
    if (fd < 0)
        return false;
    if (ftruncate(fd, static_cast<off_t>(bufferSize * 2)) != 0) {
        close(fd);
        return false;
    }
    void* mapping = mmap(nullptr, bufferSize * 2, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (mapping == MAP_FAILED) {
        close(fd);
        return false;
    }
    m_mapping = mapping;
    m_mappingSize = bufferSize * 2;
    wl_shm_pool* pool = wl_shm_create_pool(shm, fd, static_cast<int32_t>(bufferSize * 2));
    static const wl_buffer_listener bufferListener = {OnBufferRelease};
    for (int index = 0; index < 2; ++index) {
        Buffer& buffer = m_buffers[index];
        buffer.buffer = wl_shm_pool_create_buffer(pool, static_cast<int32_t>(bufferSize * index), m_pixelWidth,
                                                  m_pixelHeight, stride, WL_SHM_FORMAT_XRGB8888);
        wl_buffer_add_listener(buffer.buffer, &bufferListener, &buffer);
        buffer.pixels = reinterpret_cast<uint32_t*>(static_cast<char*>(mapping) + bufferSize * index);
        buffer.busy = false;
        buffer.stale.SetBounds(m_pixelWidth, m_pixelHeight);
        buffer.stale.Clear();
        buffer.stale.AddAll();
    }
    wl_shm_pool_destroy(pool);
    close(fd);
    return true;
}

void COutputWindow::FreeBuffers()
{
    for (Buffer& buffer : m_buffers) {
        if (buffer.buffer != nullptr)
            wl_buffer_destroy(buffer.buffer);
        buffer.buffer = nullptr;
        buffer.pixels = nullptr;
    }
    m_shownValid = false;
    if (m_mapping != nullptr)
        munmap(m_mapping, m_mappingSize);
    m_mapping = nullptr;
    m_drawing.reset();
    if (m_canvas != nullptr)
        cairo_surface_destroy(m_canvas);
    m_canvas = nullptr;
    if (m_canvasMemory != nullptr)
        munmap(m_canvasMemory, m_canvasSize * 2);
    m_canvasMemory = nullptr;
}

void COutputWindow::OnBufferRelease(void* data, wl_buffer*)
{
    static_cast<Buffer*>(data)->busy = false;
}

void COutputWindow::OnFrameDone(void* data, wl_callback* callback, uint32_t)
{
    auto* window = static_cast<COutputWindow*>(data);
    wl_callback_destroy(callback);
    window->m_frame = nullptr;
    if (window->m_missedPasses) {
        window->m_missedPasses = false;
        window->m_needsPaint = true;
    }
}

bool COutputWindow::TakeShown(int64_t nowMs)
{
    if (!IsReady())
        return false;
    if (m_frame != nullptr && nowMs - m_frameRequestedMs >= HIDDEN_AFTER_MS)
        m_missedPasses = true;
    return !m_missedPasses;
}

void COutputWindow::CopyRects(uint32_t* to, int32_t toStride, const uint32_t* from, int32_t fromStride,
                              const CDrawnArea& area)
{
    for (int index = 0; index < area.GetCount(); ++index) {
        const PixelRect& rect = area.GetRect(index);
        const size_t rowBytes = static_cast<size_t>(rect.right - rect.left) * 4;
        for (int32_t y = rect.top; y < rect.bottom; ++y) {
            std::memcpy(to + static_cast<std::ptrdiff_t>(y) * toStride + rect.left,
                        from + static_cast<std::ptrdiff_t>(y) * fromStride + rect.left, rowBytes);
        }
    }
}

bool COutputWindow::Present(int64_t nowMs)
{
    if (!IsReady() || m_buffers[0].buffer == nullptr)
        return false;
    m_pending.Add(m_drawing->GetDrawn());
    m_drawing->ClearDrawn();
    if (m_pending.IsEmpty() || m_frame != nullptr)
        return false;
    Buffer* target = !m_buffers[0].busy ? &m_buffers[0] : (!m_buffers[1].busy ? &m_buffers[1] : nullptr);
    if (target == nullptr)
        return false; // the next release brings us back here
    cairo_surface_flush(m_canvas);
    const uint32_t* canvas = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(m_canvas));
    const int32_t stride = cairo_image_surface_get_stride(m_canvas) / 4;
    uint32_t* shown = m_canvasMemory != nullptr ? static_cast<uint32_t*>(m_canvasMemory) + m_canvasSize / 4 : nullptr;
    // Much of what a pass draws, it draws as it was (a person erased and drawn again in the same
    // place and colour): only what differs from the picture on screen is sent and damaged.
    if (shown != nullptr && m_shownValid) {
        m_pending.KeepDiffering(canvas, stride, shown, stride);
        if (m_pending.IsEmpty())
            return false;
    }
    if (shown != nullptr) {
        CopyRects(shown, stride, canvas, stride, m_pending);
        m_shownValid = true;
    }
    Buffer& other = target == &m_buffers[0] ? m_buffers[1] : m_buffers[0];
    target->stale.Add(m_pending);
    CopyRects(target->pixels, m_pixelWidth, canvas, stride, target->stale);
    target->stale.Clear();
    other.stale.Add(m_pending);

    wl_surface_attach(m_surface, target->buffer, 0, 0);
    for (int index = 0; index < m_pending.GetCount(); ++index) {
        const PixelRect& rect = m_pending.GetRect(index);
        wl_surface_damage_buffer(m_surface, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    }
    m_pending.Clear();
    static const wl_callback_listener frameListener = {OnFrameDone};
    m_frame = wl_surface_frame(m_surface);
    wl_callback_add_listener(m_frame, &frameListener, this);
    m_frameRequestedMs = nowMs;
    wl_surface_commit(m_surface);
    target->busy = true;
    return true;
}
