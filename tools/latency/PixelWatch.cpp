// zorvi-pixel-watch: an X client that tells when the pixels of window areas change, as a person
// in front of the screen would see them.
//
//     zorvi-pixel-watch WINDOW:X,Y,W,H [WINDOW:X,Y,W,H ...]
//
// WINDOW is an X window id (decimal), the rectangle in that window's coordinates; 0 is the root
// window, the screen as a person sees it. Every area is
// read from the X server about every millisecond; each change is printed as one line,
// "<area index> <milliseconds since the epoch, 3 decimals>". The watch ends when its standard
// input closes.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <poll.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Area {
    Window window = 0;
    int x = 0, y = 0, width = 0, height = 0;
    XImage* image = nullptr;
    XShmSegmentInfo shm{};
    std::uint64_t last = 0;
    bool seen = false;
    bool failed = false; // told once
};

bool xError = false;
int IgnoreErrors(Display*, XErrorEvent*) {
    // A window that went away, or an area outside it: that area reads nothing this round.
    xError = true;
    return 0;
}

double NowMs() {
    using namespace std::chrono;
    return double(duration_cast<microseconds>(system_clock::now().time_since_epoch()).count()) /
           1000.0;
}

bool ParseArea(const char* text, Area& area) {
    unsigned long window = 0;
    if (std::sscanf(text, "%lu:%d,%d,%d,%d", &window, &area.x, &area.y, &area.width,
                    &area.height) != 5)
        return false;
    area.window = Window(window);
    return area.width > 0 && area.height > 0 && area.width <= 8192 && area.height <= 8192;
}

// Every pixel counts: a change of a few pixels (a number's outline) is a change.
std::uint64_t Hash(const XImage* image) {
    std::uint64_t hash = 1469598103934665603ull;
    for (int y = 0; y < image->height; ++y) {
        const auto* row = reinterpret_cast<const std::uint64_t*>(
            image->data + std::size_t(y) * std::size_t(image->bytes_per_line));
        const std::size_t words = std::size_t(image->width) * 4 / 8;
        for (std::size_t i = 0; i < words; ++i)
            hash = (hash ^ row[i]) * 1099511628211ull;
    }
    return hash;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: zorvi-pixel-watch WINDOW:X,Y,W,H ...\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    if (!XShmQueryExtension(display)) {
        std::fprintf(stderr, "the X server has no shared-memory images\n");
        return 1;
    }
    XSetErrorHandler(IgnoreErrors);

    // In place: the image keeps a pointer to its area's shared-memory record.
    std::vector<Area> areas(std::size_t(argc - 1));
    for (int i = 1; i < argc; ++i) {
        Area& area = areas[std::size_t(i - 1)];
        if (!ParseArea(argv[i], area)) {
            std::fprintf(stderr, "not an area: %s\n", argv[i]);
            return 2;
        }
        if (area.window == 0)
            area.window = DefaultRootWindow(display);
        // The window's own visual: a window with an alpha channel has 32 bits, not 24.
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(display, area.window, &attributes)) {
            std::fprintf(stderr, "no such window: %s\n", argv[i]);
            return 1;
        }
        area.image =
            XShmCreateImage(display, attributes.visual, unsigned(attributes.depth), ZPixmap,
                            nullptr, &area.shm, unsigned(area.width), unsigned(area.height));
        if (!area.image || area.image->bits_per_pixel != 32) {
            std::fprintf(stderr, "needs a 24- or 32-bit display\n");
            return 1;
        }
        area.shm.shmid =
            shmget(IPC_PRIVATE, std::size_t(area.image->bytes_per_line) * std::size_t(area.height),
                   IPC_CREAT | 0600);
        if (area.shm.shmid < 0)
            return 1;
        area.shm.shmaddr = area.image->data = static_cast<char*>(shmat(area.shm.shmid, nullptr, 0));
        area.shm.readOnly = False;
        XShmAttach(display, &area.shm);
    }
    XSync(display, False);
    for (Area& area : areas)
        shmctl(area.shm.shmid, IPC_RMID, nullptr); // gone with the last detach

    pollfd input{STDIN_FILENO, POLLIN, 0};
    char buffer[256];
    for (;;) {
        for (std::size_t i = 0; i < areas.size(); ++i) {
            Area& area = areas[i];
            xError = false;
            const Bool ok =
                XShmGetImage(display, area.window, area.image, area.x, area.y, AllPlanes);
            XSync(display, False);
            if (!ok || xError) {
                if (!area.failed)
                    std::fprintf(stderr, "area %zu cannot be read\n", i);
                area.failed = true;
                continue;
            }
            const double at = NowMs();
            const std::uint64_t hash = Hash(area.image);
            if (area.seen && hash != area.last)
                std::printf("%zu %.3f\n", i, at);
            area.seen = true;
            area.last = hash;
        }
        std::fflush(stdout);
        // Ends with its input; otherwise a millisecond's rest between rounds.
        if (poll(&input, 1, 1) > 0) {
            if (read(STDIN_FILENO, buffer, sizeof buffer) <= 0)
                break;
        }
    }
    for (Area& area : areas) {
        XShmDetach(display, &area.shm);
        shmdt(area.shm.shmaddr);
    }
    XCloseDisplay(display);
    return 0;
}
